# Sourced by the tests that drive the program as a screen reader does, with the sourcing script's arguments:
#   source atspi-session.sh "$0" "$@"
# Skips (exit 77) without the tools; runs the script again inside a private session bus; then gives it a
# scratch folder $work (removed at exit, with every process in $pids), an X server of its own on $DISPLAY, the
# accessibility bus, Qt's bridge switched on, and $py, Debian's own Python, for which its GObject bindings are
# installed.
py=/usr/bin/python3
for tool in Xvfb dbus-run-session $py; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || { echo "SKIP: at-spi2-core is not installed"; exit 77; }
$py -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null \
    || { echo "SKIP: gir1.2-atspi-2.0 is not installed"; exit 77; }

if [[ -z ${ZELKORA_IN_SESSION:-} ]]; then
    export ZELKORA_IN_SESSION=1
    exec dbus-run-session -- "$@"
fi

work=$(mktemp -d -t zelkora-atspi.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "SKIP: Xvfb did not start"; exit 77; }
export DISPLAY=":$(head -n 1 "$work/display")"
"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
sleep 0.5
