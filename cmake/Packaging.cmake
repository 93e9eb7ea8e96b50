# A Debian package of the installed layout (tools/package.sh):
#   cpack --config build/CPackConfig.cmake   ->   build/vocabrium_1.2_amd64.deb
# The libraries the program links come from dpkg-shlibdeps; what it only
# reads at run time (sound back-end, morphology, the voices and the offline
# dictionaries) is recommended, because the program works without it: silent,
# without base forms or without offline translation.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vocabrium)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Vocabrium")
set(CPACK_PACKAGE_CONTACT "Vocabrium developers <vocabrium@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vocabulary trainer with a Russian interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Vocabrium keeps foreign words with their translations in dictionaries and
teaches them through short lessons: choosing the words, memorising, a choice
among six answers, a flash card and typing the word. It pronounces words from
recordings, shows transcriptions, adds words from a pasted text and downloads
ready-made dictionaries.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
set(CPACK_OUTPUT_FILE_PREFIX "${CMAKE_BINARY_DIR}")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vocabrium.github.io/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, hunspell-en-us, hunspell-fr, hunspell-de-de, hunspell-it, hunspell-es, wordnet-base, espeak-ng-data, mueller7-dict, dict-freedict-eng-rus, dict-freedict-deu-rus, dict-freedict-fra-rus, dict-freedict-ita-rus, dict-freedict-spa-eng, dict-freedict-ita-eng")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(GNUInstallDirs)
install(FILES "${CMAKE_SOURCE_DIR}/data/copyright" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/vocabrium"
    PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

include(CPack)
