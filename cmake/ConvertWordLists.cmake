# convert_word_lists(<outputs-var> TOOL <tool> MODE <mode> EXTENSION <ext>
#                    DESTINATION <dir> SOURCES <file>...)
#
# Adds one build rule per tab-separated source: "<tool> <mode> source
# <dir>/<name><ext>", and returns the produced files in <outputs-var>.
function(convert_word_lists outputs)
    cmake_parse_arguments(ARG "" "TOOL;MODE;EXTENSION;DESTINATION" "SOURCES" ${ARGN})
    set(produced)
    foreach(source ${ARG_SOURCES})
        get_filename_component(name ${source} NAME_WE)
        set(output "${ARG_DESTINATION}/${name}${ARG_EXTENSION}")
        add_custom_command(OUTPUT "${output}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${ARG_DESTINATION}"
            COMMAND ${ARG_TOOL} ${ARG_MODE} "${source}" "${output}"
            DEPENDS ${ARG_TOOL} "${source}"
            COMMENT "Building ${name}${ARG_EXTENSION}"
            VERBATIM)
        list(APPEND produced "${output}")
    endforeach()
    set(${outputs} ${produced} PARENT_SCOPE)
endfunction()
