#!/usr/bin/env bash
# startup_bench: time to a shown window and idle memory of the desktop program beside a minimal Qt Widgets
# program, on an X server of its own (Xvfb), so that the figures do not depend on the desktop it is started
# from. Usage: bench/startup_bench.sh [build folder]
set -euo pipefail
build=${1:-build}
bin=$(cd "$build/bin" && pwd)
# The programs measured must open real windows on that server.
unset QT_QPA_PLATFORM
exec xvfb-run -a -s "-screen 0 1024x768x24" "$bin/startup_bench_driver"
