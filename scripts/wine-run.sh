#!/usr/bin/env bash
# Runs one Windows program under Wine for the tests: in the prefix WINEPREFIX names (made fresh
# by scripts/test-windows.sh), quiet, within a time limit (SERIVANE_WINE_TIMEOUT seconds, 600 by
# default), and with the Wine server gone before the next run starts.
set -uo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: nothing here needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
timeout --kill-after=10 "${SERIVANE_WINE_TIMEOUT:-600}" wine "$@"
status=$?
wineserver -w
exit "$status"
