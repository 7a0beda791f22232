#!/usr/bin/env bash
# A new user's first start of the installed program, driven as a person with a screen reader would: the build
# installed into a scratch prefix, the program started from it with no settings and no service address, the
# welcome box's "Try it with the demo operators" pressed over the accessibility bus, a sender typed and Send
# pressed. The installed zelkora-sandbox must be the one that runs, and the message must reach its operator.
set -uo pipefail
build=${1:?usage: install_demo_atspi.sh BUILD-DIR ATSPI-DRIVER}
driver=${2:?usage: install_demo_atspi.sh BUILD-DIR ATSPI-DRIVER}
command -v cmake >/dev/null || { echo "SKIP: cmake is not installed"; exit 77; }
source "$(dirname "$0")/../support/atspi-session.sh" "$0" "$@"
cmake --install "$build" --prefix "$work/usr" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

# A user as after installing the package: own fresh folders, nothing of the build tree's settings.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
unset ZELKORA_SERVICE_URL ZELKORA_APPDIR ZELKORA_BROWSER_LIBRARY
export QTWEBENGINE_DISABLE_SANDBOX=1

# An English desktop: the first start speaks English (the steps below read its English texts).
LANG=en_US.UTF-8 LC_ALL= LC_MESSAGES= LANGUAGE= "$work/usr/bin/zelkora" >"$work/program.log" 2>&1 &
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
