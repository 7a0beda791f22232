#!/usr/bin/env bash
# A new user's first start of the installed program, driven as a person with a screen reader would: the build
# installed into a scratch prefix, the program started from it with no settings and no service address, the
# welcome box's "Try it with the demo operators" pressed over the accessibility bus, a sender typed and Send
# pressed. The installed zelkora-sandbox must be the one that runs, and the message must reach its operator.
set -uo pipefail
build=${1:?usage: install_demo_atspi.sh BUILD-DIR ATSPI-DRIVER}
driver=${2:?usage: install_demo_atspi.sh BUILD-DIR ATSPI-DRIVER}
py=/usr/bin/python3
for tool in Xvfb dbus-run-session cmake $py; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || { echo "SKIP: at-spi2-core is not installed"; exit 77; }
$py -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null \
    || { echo "SKIP: gir1.2-atspi-2.0 is not installed"; exit 77; }

if [[ -z ${ZELKORA_IN_SESSION:-} ]]; then
    export ZELKORA_IN_SESSION=1
    exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d -t zelkora-install-demo.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
cmake --install "$build" --prefix "$work/usr" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

# A user as after installing the package: own fresh folders, nothing of the build tree's settings.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset ZELKORA_SERVICE_URL ZELKORA_APPDIR ZELKORA_BROWSER_LIBRARY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QTWEBENGINE_DISABLE_SANDBOX=1

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "SKIP: Xvfb did not start"; exit 77; }
export DISPLAY=":$(head -n 1 "$work/display")"
"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
sleep 0.5

"$work/usr/bin/zelkora" >"$work/program.log" 2>&1 &
program=$!
pids+=($program)
failures=0
if ! $py "$driver" "$program" --steps "press:Try it with the demo operators" \
    "see:Demo operators: no message leaves this computer" "type:From=Dana" "press:Send" "see:Message sent"; then
    failures=$((failures + 1))
fi
if ! pgrep -f "^$work/usr/bin/zelkora-sandbox" >/dev/null; then
    echo "FAIL: the installed zelkora-sandbox is not the one running"
    failures=$((failures + 1))
fi
kill -TERM "$program" 2>/dev/null
wait "$program" 2>/dev/null
if pgrep -f "^$work/usr/bin/zelkora-sandbox" >/dev/null; then
    echo "FAIL: the demo operators outlived the program"
    failures=$((failures + 1))
fi
((failures == 0)) || cat "$work/program.log"
exit $((failures > 0))
