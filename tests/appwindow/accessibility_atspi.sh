#!/usr/bin/env bash
# The desktop program as a screen reader meets it: on an X server of its own, with a private session bus, the
# accessibility bus and Qt's bridge on. atspi_tree.py lists the main window's tree as the AT-SPI registry gives
# it, fails on a control without a name or with markup, presses the send button through the bridge and waits
# for the status line's change to be announced. Run in Hebrew, then in English.
set -uo pipefail
program=${1:?usage: accessibility_atspi.sh PATH-TO-zelkora}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/atspi-session.sh" "$0" "$@"
export ZELKORA_SERVICE_URL=http://127.0.0.1:9

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
