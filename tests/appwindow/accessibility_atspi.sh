#!/usr/bin/env bash
# The desktop program as a screen reader meets it: on an X server of its own, with a private session bus, the
# accessibility bus and Qt's bridge on. atspi_tree.py lists the main window's tree as the AT-SPI registry gives
# it, fails on a control without a name or with markup, presses the send button through the bridge and waits
# for the status line's change to be announced. Run in Hebrew, then in English.
set -uo pipefail
program=${1:?usage: accessibility_atspi.sh PATH-TO-zelkora}
here=$(cd "$(dirname "$0")" && pwd)
# Debian's own Python, the one its GObject bindings are installed for.
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
    exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d -t zelkora-atspi.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime" ZELKORA_SERVICE_URL=http://127.0.0.1:9
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "SKIP: Xvfb did not start"; exit 77; }
export DISPLAY=":$(head -n 1 "$work/display")"
"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
sleep 0.5

failures=0
for language in HEB ENU; do
    home="$work/home-$language"
    export HOME="$home/home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
    export XDG_DATA_HOME="$home/data" ZELKORA_APPDIR="$home/app"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME/zelkora" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$ZELKORA_APPDIR"
    printf '[Software\\Halvern Systems\\Corvalent]\nLanguage=%s\n' "$language" >"$XDG_CONFIG_HOME/zelkora/registry.ini"
    # Not a first start: the welcome box would stand over the window.
    printf '[General]\nLastFrom=\n' >"$XDG_CONFIG_HOME/zelkora/SMS.INI"
    # An operator of the user's own: the send goes straight to its checks, whose refusal the status line shows.
    mkdir -p "$XDG_CONFIG_HOME/zelkora/providers.d"
    printf '<#PROVIDER Name=Acme AreaCodes=052 MsgUrl=http://127.0.0.1:9/>\n' \
        >"$XDG_CONFIG_HOME/zelkora/providers.d/acme.def"
    "$program" >"$work/program-$language.log" 2>&1 &
    pid=$!
    [[ $language == HEB ]] && send="שלח" || send="Send"
    # The first look for definitions is a second after the start; then the lamp is yellow, with the operator.
    sleep 2
    echo "== $language"
    if ! $py "$here/atspi_tree.py" "$pid" --press "$send"; then
        failures=$((failures + 1))
        cat "$work/program-$language.log"
    fi
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
done
exit $((failures > 0))
