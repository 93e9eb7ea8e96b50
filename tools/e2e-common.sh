# Shared by the real-window scripts (sourced, not run): installs the X tools
# when missing, builds the program if needed, and defines the helpers that
# drive and photograph the window. Expects root, build and shots to be set.

need=()
for tool in Xvfb xdotool import; do command -v "$tool" >/dev/null || need+=("$tool"); done
if [ ${#need[@]} -gt 0 ]; then
    sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends xvfb xdotool imagemagick
fi
[ -x "$build/vocabrium" ] || "$root/tools/build.sh"
mkdir -p "$shots"
tag=${tag:-}

# Starts Xvfb on a free-looking display between $1 and $1 + 8.
start_display() {
    display=:$(($1 + RANDOM % 9))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$display
    sleep 1
}

wait_window() { # name pattern
    for _ in $(seq 100); do
        xdotool search --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "window '$1' did not appear" >&2; return 1
}
key() { xdotool key --clearmodifiers "$@"; sleep 0.3; }
shot() { import -window root "$shots/$tag$1.png"; echo "screenshot: $shots/$tag$1.png"; }
geometry() { xdotool getwindowgeometry "$(xdotool search --name ' - Vocabrium' | head -1)" | sed -n 's/.*Geometry: //p'; }
focus_main() { xdotool windowfocus --sync "$(xdotool search --name ' - Vocabrium' | head -1)" 2>/dev/null || true; sleep 0.3; }
congratulated() { xdotool search --name "Поздравляю" >/dev/null 2>&1; }
press() { congratulated || xdotool key --clearmodifiers "$@"; sleep 0.2; }

# The choice lesson: Down to the first answer, then Enter until the right one
# (a wrong answer turns pink and hands the focus on). Mistakes send the word
# back a step, to the writing lesson, so the loop answers both until the word
# $1 is learned and the congratulation shows.
learn_by_choice_and_writing() {
    for iteration in $(seq 60); do
        [ -n "${E2E_DEBUG:-}" ] && shot "debug-$iteration"
        congratulated && break
        focus_main
        press Down
        for _ in 1 2 3 4 5 6; do press Return; done
        sleep 1.5
        congratulated && break
        if ! congratulated; then xdotool type --delay 20 "$1"; fi
        press Return
        sleep 1.5
    done
}
