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

# Starts Xvfb on a free display, with a session
# bus and the accessibility bus beside it: tools/e2e-window.py reads the window
# through that, the way a screen reader does.
start_display() {
    # Xvfb takes a free display itself and names it once it accepts clients.
    # -noreset: by default an X server starts over when its last client goes
    # (the probe below, the accessibility launcher), and a program that
    # connects in that moment is refused.
    local ready number
    ready=$(mktemp -u); mkfifo "$ready"
    xvfb_log=$(mktemp)
    Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$ready" 2>"$xvfb_log" &
    xvfb=$!
    read -r -t 20 number < "$ready" || number=
    rm -f "$ready"
    [ -n "$number" ] || { echo "Xvfb did not start:" >&2; cat "$xvfb_log" >&2; return 1; }
    display=:$number
    export DISPLAY=$display
    read -r DBUS_SESSION_BUS_ADDRESS bus < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -sd' ')
    export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    a11y=$!
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    # The program needs the display and the accessibility bus from its
    # first moment: wait until both answer.
    wait_for dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
        || { echo "the accessibility bus did not start" >&2; return 1; }
}

# Polls a command until it succeeds, for up to E2E_WAIT seconds (default 20):
# every step of a run waits for what the window shows, never for a fixed time.
wait_for() { # command...
    local deadline=$((SECONDS + ${E2E_WAIT:-20}))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

# Waits until the process $1 has ended (the program saves before it goes).
wait_gone() { # pid
    wait_for bash -c "! kill -0 $1"
}

# Ends the program (it saves on SIGTERM, so wait for it before the home folder
# goes), then the display and the buses. Scripts call it on EXIT.
finish() {
    if [ -n "${program:-}" ]; then
        kill "$program" 2>/dev/null || true
        wait_gone "$program" || true
    fi
    kill ${a11y:-} ${bus:-} ${xvfb:-} 2>/dev/null || true
    [ -n "${xvfb_log:-}" ] && rm -f "$xvfb_log"
    [ -n "${home:-}" ] && rm -rf "$home"
    return 0
}

wait_window() { # name pattern
    wait_for xdotool search --onlyvisible --name "$1" && return 0
    echo "window '$1' did not appear" >&2; return 1
}
# Gives the keyboard focus to the window named $1 once it is shown, so that
# the keys that follow go to it.
focus_window() { # name pattern
    wait_window "$1" || return 1
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "$1" | head -1)" 2>/dev/null || true
    settled
}
focus_main() { focus_window ' - Vocabrium'; }
# Keys reach the focused window in order; whatever they must have done
# before the next step is waited for by the caller.
key() { xdotool key --clearmodifiers "$@"; }
window_says() { /usr/bin/python3 "$root/tools/e2e-window.py" "$@"; }
# A question over the accessibility bus is answered from the program's event
# loop, after the events queued before it: once it comes back, what the
# earlier keys did has been handled and painted.
settled() { window_says labels >/dev/null 2>&1 || true; }
shot() { settled; import -window root "$shots/$tag$1.png"; echo "screenshot: $shots/$tag$1.png"; }
geometry() { xdotool getwindowgeometry "$(xdotool search --onlyvisible --name ' - Vocabrium' | head -1)" | sed -n 's/.*Geometry: //p'; }
congratulated() { xdotool search --onlyvisible --name "Поздравляю" >/dev/null 2>&1; }
# No window of that name is left. (A window that goes while xdotool looks
# makes it report an X error: that is no answer yet.)
window_gone() { # name pattern
    local found; found=$(xdotool search --onlyvisible --name "$1" 2>&1)
    [ -z "$found" ]
}
# Answers the box or dialog named $1 with the keys given, once it has the
# keyboard, and waits until it has gone: a key sent before a new box has the
# focus would go to the window under it, which the box blocks.
dismiss() { # name pattern, key...
    local name=$1; shift
    focus_window "$name" || return 1
    key "$@"
    wait_for window_gone "$name" || { echo "'$name' stayed open" >&2; return 1; }
}
# The test-version warning every start shows, answered; then the main window.
accept_warning() { # title of the main window
    dismiss "Предупреждение" Return && focus_window "$1"
}

# What the lesson page offers: "ready LESSON: CONTROLS" with its live
# controls, or "busy LESSON" while they are grey (the pause after an answer,
# the pronunciation).
page_state() { window_says ready 2>/dev/null || true; }

# Waits for what an answer does: the page changes (the card turns over) or
# goes grey for the pause, then offers the next exercise; or the run is over.
# The same exercise again after a pause too short to be seen is taken when
# the wait runs out.
answered() { # page_state before the answer
    local deadline=$((SECONDS + ${E2E_WAIT:-20})) paused= state
    while [ $SECONDS -lt $deadline ]; do
        congratulated && return 0
        state=$(page_state)
        case "$state" in
            busy*) paused=1 ;;
            ready*) [ -n "$paused" ] || [ "$state" != "$1" ] && return 0 ;;
        esac
        sleep 0.1
    done
    return 0
}
# Presses the keys given and waits for the answer to be taken.
answer() { # key...
    local before; before=$(page_state)
    key "$@"
    answered "$before"
}
# Waits until the lesson $1 is on screen, ready for an answer.
page_is() { [[ "$(page_state)" == "$1"* ]]; }
lesson_is() { wait_for page_is "ready $1:"; }

# Learns the word $1 (translation $2) through whatever lesson the model puts
# on screen, answering each one right: the status bar names the lesson, and
# the choice lesson's answers are read by name.
learn_word() {
    local before
    for _ in $(seq 40); do
        congratulated && return 0
        focus_main
        before=$(page_state)
        case "$before" in
            "ready Выбор:"*) row=$(window_says row "$1" "$2") && key "$row" ;;
            "ready Написание:"*) key ctrl+a; xdotool type --delay 20 "$1"; key Return ;;
            "ready Запоминание:"*|"ready Карточка:"*) key Return ;;
            *) wait_for page_is ready; continue ;;
        esac
        answered "$before"
    done
    congratulated
}

# One named check of a run: "ok: ..." or "FAIL: ...", and the run fails at
# the end (the scripts set fail=0 first and exit with it).
check() { # description, command...
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; fail=1; fi
}
