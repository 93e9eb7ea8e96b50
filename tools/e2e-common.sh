# Shared by the real-window scripts (sourced, not run): installs the X tools
# when missing, builds the program if needed, and defines the helpers that
# drive and photograph the window. Expects root, build and shots to be set.

need=()
for tool in Xvfb xdotool import dbus-daemon; do command -v "$tool" >/dev/null || need+=("$tool"); done
[ -x /usr/libexec/at-spi-bus-launcher ] || need+=(at-spi2-core)
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || need+=(python3-pyatspi)
if [ ${#need[@]} -gt 0 ]; then
    sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        -o DPkg::Lock::Timeout=900 xvfb xdotool imagemagick dbus-daemon at-spi2-core python3-pyatspi
fi
[ -x "$build/vocabrium" ] || "$root/tools/build.sh"
mkdir -p "$shots"
tag=${tag:-}

# Starts Xvfb on a free-looking display between $1 and $1 + 8, with a session
# bus and the accessibility bus beside it: tools/e2e-window.py reads the window
# through that, the way a screen reader does.
start_display() {
    display=:$(($1 + RANDOM % 9))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$display
    read -r DBUS_SESSION_BUS_ADDRESS bus < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -sd' ')
    export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    a11y=$!
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    sleep 1
}

# Ends the program (it saves on SIGTERM, so wait for it before the home folder
# goes), then the display and the buses. Scripts call it on EXIT.
finish() {
    if [ -n "${program:-}" ]; then
        kill "$program" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
    fi
    kill ${a11y:-} ${bus:-} ${xvfb:-} 2>/dev/null || true
    [ -n "${home:-}" ] && rm -rf "$home"
    return 0
}

wait_window() { # name pattern
    for _ in $(seq 150); do
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

window_says() { /usr/bin/python3 "$root/tools/e2e-window.py" "$@"; }

# Learns the word $1 (translation $2) through whatever lesson the model puts
# on screen, answering each one right: the status bar names the lesson, and
# the choice lesson's answers are read by name.
learn_word() {
    for _ in $(seq 40); do
        congratulated && return 0
        focus_main
        case "$(window_says lesson || true)" in
            Выбор) row=$(window_says row "$1" "$2") && key "$row" ;;
            Написание) key ctrl+a; xdotool type --delay 20 "$1"; key Return ;;
            Запоминание|Карточка) key Return ;;
        esac
        sleep 1.5
    done
    congratulated
}

# One named check of a run: "ok: ..." or "FAIL: ...", and the run fails at
# the end (the scripts set fail=0 first and exit with it).
check() { # description, command...
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; fail=1; fi
}
