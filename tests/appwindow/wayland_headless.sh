#!/usr/bin/env bash
# The main window's tests once more as a native Wayland client: a headless weston is the compositor, Qt's
# wayland platform plugin talks to it, and each test program runs with its own HOME and XDG folders. Then the
# real program: its window is drawn with an alpha channel, transparent outside the device's outline, and
# the outline is given to the compositor as the window's input region.
set -uo pipefail
program=${1:?usage: wayland_headless.sh PATH-TO-zelkora TEST-PROGRAM...}
shift
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }

work=$(mktemp -d -t zelkora-wayland.XXXXXX)
weston_pid=
cleanup() {
    [[ -n "$weston_pid" ]] && kill "$weston_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY DBUS_SESSION_BUS_ADDRESS
socket="zelkora-test-$$"

weston --backend=headless-backend.so --socket="$socket" --width=1024 --height=768 --idle-time=0 \
    >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 50); do
    [[ -S "$XDG_RUNTIME_DIR/$socket" ]] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
if [[ ! -S "$XDG_RUNTIME_DIR/$socket" ]]; then
    echo "SKIP: weston did not start"
    cat "$work/weston.log"
    exit 77
fi
export WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland LANG=C.UTF-8 LC_ALL=C.UTF-8
export ZELKORA_SERVICE_URL=http://127.0.0.1:9 QTWEBENGINE_DISABLE_SANDBOX=1
failures=0

fresh_home() {
    local home="$work/home-$1"
    export HOME="$home/home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
    export XDG_DATA_HOME="$home/data" ZELKORA_APPDIR="$home/app"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$ZELKORA_APPDIR"
}

for test in "$@"; do
    name=$(basename "$test")
    fresh_home "$name"
    if "$test" >"$work/$name.log" 2>&1; then
        echo "ok: $name on wayland: $(grep -E '^Totals:' "$work/$name.log")"
    else
        echo "FAIL: $name on wayland"
        cat "$work/$name.log"
        failures=$((failures + 1))
    fi
done

# The real program: started shown, with the protocol traffic logged. Its toplevel surface must get an
# input region (the outline) and an alpha-channel buffer.
fresh_home program
WAYLAND_DEBUG=client "$program" >"$work/program.log" 2>&1 &
program_pid=$!
shown=
for _ in $(seq 100); do
    grep -q 'xdg_toplevel@[0-9]*.set_title("Zelkora")' "$work/program.log" \
        && grep -q 'wl_surface@[0-9]*.set_input_region(wl_region@' "$work/program.log" && { shown=1; break; }
    sleep 0.1
done
sleep 0.5
kill -TERM "$program_pid" 2>/dev/null
wait "$program_pid"
status=$?
if [[ -z "$shown" ]]; then
    echo "FAIL: the program's window did not come up with an input region on wayland"
    grep -E 'set_title|set_input_region|create_buffer' "$work/program.log" | head -20
    failures=$((failures + 1))
elif ! grep -qE 'create_buffer\(new id wl_buffer@[0-9]+, [0-9]+, 287, 446, [0-9]+, 0\)' "$work/program.log"; then
    # Format 0 is WL_SHM_FORMAT_ARGB8888: a buffer with an alpha channel.
    echo "FAIL: the window's buffer has no alpha channel"
    grep -E 'create_buffer' "$work/program.log" | head -5
    failures=$((failures + 1))
else
    echo "ok: the program's window has an input region and an alpha channel"
fi
[[ $status -eq 0 ]] || { echo "FAIL: the program ended with status $status after SIGTERM"; failures=$((failures + 1)); }

# With a notification area (a StatusNotifier host on a session bus of the test's own): started with /quiet the
# program shows its icon and no window; a click on the icon, given over the bus as the desktop gives it, shows
# the window.
host=${ZELKORA_STATUS_NOTIFIER_HOST:-}
if [[ -x "$host" ]] && command -v dbus-daemon >/dev/null && command -v gdbus >/dev/null; then
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus.address" 4>"$work/bus.pid"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus.address")
    "$host" >"$work/host.log" 2>&1 &
    host_pid=$!
    for _ in $(seq 50); do
        grep -q '^ready' "$work/host.log" && break
        sleep 0.1
    done
    fresh_home tray
    WAYLAND_DEBUG=client "$program" /quiet >"$work/tray.log" 2>&1 &
    program_pid=$!
    item=
    for _ in $(seq 100); do
        item=$(grep -v '^ready' "$work/host.log" | head -n 1)
        [[ -n "$item" ]] && break
        sleep 0.1
    done
    sleep 0.5
    if [[ -z "$item" ]]; then
        echo "FAIL: no icon registered with the notification area"
        failures=$((failures + 1))
    elif grep -q 'xdg_toplevel@[0-9]*.set_title("Zelkora")' "$work/tray.log"; then
        echo "FAIL: started with /quiet, the program showed its window although there is a notification area"
        failures=$((failures + 1))
    else
        gdbus call --session --dest "$item" --object-path /StatusNotifierItem \
            --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
        shown=
        for _ in $(seq 50); do
            grep -q 'xdg_toplevel@[0-9]*.set_title("Zelkora")' "$work/tray.log" && { shown=1; break; }
            sleep 0.1
        done
        if [[ -n "$shown" ]]; then
            echo "ok: the icon in the notification area ($item) shows the window"
        else
            echo "FAIL: a click on the icon did not show the window"
            failures=$((failures + 1))
        fi
    fi
    kill -TERM "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    kill "$host_pid" "$(cat "$work/bus.pid")" 2>/dev/null
    wait "$host_pid" 2>/dev/null
    unset DBUS_SESSION_BUS_ADDRESS
else
    echo "skipped: no notification area to test with (the StatusNotifier host, dbus-daemon or gdbus is missing)"
fi

[[ $failures -eq 0 ]] || exit 1
echo "all passed"
