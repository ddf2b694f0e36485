#!/usr/bin/env bash
# Makes the Wine prefix WINEPREFIX names ready for the tests: crashes end the program instead of
# waiting in a dialog, and "Arial" and "Verdana" are drawn with the free faces the Linux build
# takes for them.
set -uo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
timeout 300 wine wineboot -i >/dev/null 2>&1
timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 \
    /f >/dev/null 2>&1
for face in "Arial=Liberation Sans" "Verdana=DejaVu Sans"; do
    timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${face%%=*}" \
        /t REG_SZ /d "${face#*=}" /f >/dev/null 2>&1
done
wineserver -w
