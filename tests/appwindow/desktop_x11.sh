#!/usr/bin/env bash
# The desktop program as a user runs it on an X server: started with /quiet, its tray icon clicked with real
# pointer events in a real notification area (trayer, an XEmbed tray, under openbox), and then on a desktop
# with a window manager but no notification area. The window's state is read from the X server.
set -uo pipefail
program=${1:?usage: desktop_x11.sh PATH-TO-zelkora}
for tool in Xvfb openbox trayer xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d -t zelkora-desktop.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
export ZELKORA_APPDIR="$work/app" ZELKORA_SERVICE_URL=http://127.0.0.1:9 XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$ZELKORA_APPDIR"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# No session bus: the notification area is the XEmbed one the test starts, or none.
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The main window: the program's window named Zelkora that is larger than the tray icon.
main_window() {
    local w
    for w in $(xdotool search --name '^Zelkora$' 2>/dev/null); do
        [[ $(xwininfo -id "$w" 2>/dev/null | awk '/Width:/{print $2}') -gt 100 ]] && { echo "$w"; return; }
    done
}

# "shown", "minimised", "hidden" or "none", as the X server and the window manager see the main window.
window_state() {
    local w map wm
    w=$(main_window)
    [[ -n "$w" ]] || { echo none; return; }
    map=$(xwininfo -id "$w" | awk '/Map State:/{print $3}')
    wm=$(xprop -id "$w" WM_STATE 2>/dev/null | awk '/window state:/{print $3}')
    if [[ "$map" == IsViewable ]]; then echo shown
    elif [[ "$wm" == Iconic ]]; then echo minimised
    else echo hidden
    fi
}

# Waits up to 5 s for the state.
expect_state() {
    local want=$1 what=$2 state
    for _ in $(seq 50); do
        state=$(window_state)
        [[ "$state" == "$want" ]] && { echo "ok: $what: $state"; return; }
        sleep 0.1
    done
    fail "$what: the window is $state, not $want"
}

# An X server of the given size (1024x768 when none is given) with a window manager.
start_display() {
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        [[ -s "$work/display" ]] && break
        sleep 0.1
    done
    exec 3>&-
    export DISPLAY=":$(head -n 1 "$work/display")"
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
}

start_program() {
    "$program" /quiet >"$work/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
}

stop_program() {
    kill -TERM "$program_pid"
    wait "$program_pid"
    local status=$?
    [[ $status -eq 0 ]] || fail "the program ended with status $status after SIGTERM"
}

# --- A notification area: the icon opens and hides the window, once per gesture.
start_display
trayer --edge top --align left --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
start_program
for _ in $(seq 100); do
    icon=$(xdotool search --classname '^zelkora$' 2>/dev/null | while read -r w; do
        [[ $(xwininfo -id "$w" | awk '/Map State:/{print $3}') == IsViewable ]] && echo "$w"
    done | head -n 1)
    [[ -n "$icon" ]] && break
    sleep 0.1
done
if [[ -z "$icon" ]]; then
    fail "no tray icon appeared in the notification area"
else
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    click() { xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click "$@" 1; sleep 0.6; }
    expect_state none "quiet start, icon in the notification area"
    click
    expect_state shown "a click on the icon"
    click
    expect_state hidden "a second click"
    click --repeat 2 --delay 60
    expect_state shown "a double click (the tray reports a click, then a double click)"
    click --repeat 2 --delay 60
    expect_state hidden "another double click"
fi
stop_program
kill "${pids[@]}" 2>/dev/null
wait 2>/dev/null
pids=()

# --- No notification area: never hidden, only minimised; a second start brings the window up.
start_display
start_program
sleep 1
expect_state minimised "quiet start without a notification area"
"$program" >/dev/null 2>&1 || fail "the second start failed"
expect_state shown "a second start"
# The key goes to the window that has the focus: wait until the window manager has given it to ours (it
# may still be finishing the map that the second start asked for), and press again if it came too early.
window=$(main_window)
for _ in $(seq 3); do
    xdotool windowactivate --sync "$window" >/dev/null 2>&1
    for _ in $(seq 30); do
        [[ $(xdotool getwindowfocus 2>/dev/null) == "$window" ]] && break
        sleep 0.1
    done
    xdotool key --clearmodifiers alt+F4
    sleep 1
    [[ $(window_state) == minimised ]] && break
done
expect_state minimised "closing the window"
"$program" >/dev/null 2>&1 || fail "the third start failed"
expect_state shown "a third start"
stop_program
kill "${pids[@]}" 2>/dev/null
wait 2>/dev/null
pids=()

# --- A dense screen (a scale of 200 %): the window is cut to the device's outline at twice its size, and lies
# wholly on the screen.
start_display 1280x1024
QT_SCALE_FACTOR=2 "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
expect_state shown "a start on a dense screen"
w=$(main_window)
if [[ -n "$w" ]]; then
    geometry=$(xwininfo -id "$w" | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
    read -r x y width height <<<"$geometry"
    [[ "$width x $height" == "574 x 892" ]] || fail "on a dense screen the window is $width x $height, not 574 x 892"
    ((x >= 0 && y >= 0 && x + width <= 1280 && y + height <= 1024)) \
        || fail "on a dense screen the window at $x,$y is not wholly on the 1280 x 1024 screen"
    # The 96 pixels-per-inch outline's bounds, (10, 7) and 256 x 362, twice over.
    shape=$(xwininfo -shape -id "$w" | awk '/Window shape extents:/{print $4}')
    [[ "$shape" == "512x724+20+14" ]] && echo "ok: on a dense screen the window is cut to the outline: $shape" \
        || fail "on a dense screen the window's shape is \"$shape\", not the outline's 512x724+20+14"
fi
stop_program

[[ $failures -eq 0 ]] || { echo "--- program output"; cat "$work/program.log"; exit 1; }
echo "all passed"
