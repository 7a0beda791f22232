#!/usr/bin/env bash
# A new user's first start of the installed program, driven as a person with a screen reader would: the build
# installed into a scratch prefix, the program started from it with no settings and no service address, the
# welcome box's "Try it with the demo operators" pressed over the accessibility bus, a sender typed and Send
# pressed. The installed zelkora-sandbox must be the one that runs, and the message must reach its operator.
# Once on a Hebrew desktop and once on an English one: the first start follows the desktop's language.
set -uo pipefail
build=${1:?usage: install_demo_atspi.sh BUILD-DIR ATSPI-DRIVER}
driver=${2:?usage: install_demo_atspi.sh BUILD-DIR ATSPI-DRIVER}
command -v cmake >/dev/null || { echo "SKIP: cmake is not installed"; exit 77; }
source "$(dirname "$0")/../support/atspi-session.sh" "$0" "$@"
cmake --install "$build" --prefix "$work/usr" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

export QTWEBENGINE_DISABLE_SANDBOX=1
unset ZELKORA_SERVICE_URL ZELKORA_APPDIR ZELKORA_BROWSER_LIBRARY
failures=0

# One first start on the desktop's language LANG, in fresh folders, with the steps a person takes in it.
first_start() {
    local lang=$1
    shift
    local home="$work/$lang"
    # A user as after installing the package: own fresh folders, nothing of the build tree's settings.
    export HOME="$home/home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
    echo "== $lang"
    LANG=$lang LC_ALL= LC_MESSAGES= LANGUAGE= "$work/usr/bin/zelkora" >"$work/program-$lang.log" 2>&1 &
    local program=$!
    pids+=($program)
    local failed=0
    $py "$driver" "$program" --steps "$@" || failed=1
    if ! pgrep -f "^$work/usr/bin/zelkora-sandbox" >/dev/null; then
        echo "FAIL: the installed zelkora-sandbox is not the one running"
        failed=1
    fi
    kill -TERM "$program" 2>/dev/null
    wait "$program" 2>/dev/null
    if pgrep -f "^$work/usr/bin/zelkora-sandbox" >/dev/null; then
        echo "FAIL: the demo operators outlived the program"
        failed=1
    fi
    ((failed == 0)) || cat "$work/program-$lang.log"
    failures=$((failures + failed))
}

# A Hebrew desktop gets the Hebrew window, an English one the English window: each step reads its texts.
first_start he_IL.UTF-8 "press:לנסות עם מפעילי ההדגמה" "see:מפעילי הדגמה: שום הודעה לא יוצאת מהמחשב" \
    "type:השולח=Dana" "press:שלח" "see:ההודעה נשלחה"
first_start en_US.UTF-8 "press:Try it with the demo operators" "see:Demo operators: no message leaves this computer" \
    "type:From=Dana" "press:Send" "see:Message sent"
exit $((failures > 0))
