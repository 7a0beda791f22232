#!/usr/bin/env bash
# Runs a test program as a client of an X server of its own (Xvfb, no window manager), so that the windows
# of the processes it starts can be found and typed into with real X events (xdotool).
set -uo pipefail
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
display=
for n in $(seq 150 199); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    display=:$n
    break
done
[[ -n "$display" ]] || { echo "SKIP: no free X display"; exit 77; }
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null' EXIT
for _ in $(seq 100); do
    [[ -e /tmp/.X11-unix/X${display#:} ]] && break
    sleep 0.05
done
unset WAYLAND_DISPLAY
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@"
