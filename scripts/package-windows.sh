#!/usr/bin/env bash
# Makes dist/Serivane-<version>-win64.zip from the Windows build in build-windows/ (brought up to
# date by scripts/build-windows.sh): the bundle folder with its module info and the editor's
# snapshot pictures (both made under Wine by the built programs), serivane.exe, the README, the
# copyright and licence texts and an install note. With --test, unpacks it into a fresh Wine
# prefix, installs the bundle as the note says and renders with the unpacked tool.
set -euo pipefail
cd "$(dirname "$0")/.."

test=0
case "${1:-}" in
"") ;;
--test) test=1 ;;
*)
    echo "usage: scripts/package-windows.sh [--test]" >&2
    exit 2
    ;;
esac

scripts/build-windows.sh --target Serivane serivane serivane-moduleinfo >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
name="Serivane-$version-win64"
zip="dist/$name.zip"

work="$(mktemp -d "${TMPDIR:-/tmp}/serivane-zip.XXXXXX")"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'WINEPREFIX="$work/wine" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

# A fresh Wine prefix in which crashes end the program, with the free faces for the GDI fonts.
newPrefix() {
    export WINEPREFIX="$1"
    scripts/wine-prefix.sh
}

# Windows text files end their lines with CR LF.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

newPrefix "$work/wine"
stage="$work/$name"
mkdir -p "$stage"
cp -r build-windows/Serivane.vst3 "$stage/"
cp build-windows/tools/serivane.exe "$stage/"
bundle="$stage/Serivane.vst3"
resources="$bundle/Contents/Resources"
x86_64-w64-mingw32-strip "$stage/serivane.exe" "$bundle/Contents/x86_64-win/Serivane.vst3"
bundlePath=$(winepath -w "$bundle")
scripts/wine-run.sh build-windows/host/moduleinfo/serivane-moduleinfo.exe "$bundlePath"
cid=$(sed -n 's/.*"CID": "\([0-9A-F]*\)".*/\1/p' "$resources/moduleinfo.json")
mkdir -p "$resources/Snapshots"
shot="$resources/Snapshots/${cid}_snapshot"
# The 2.0x picture is the editor at a content scale of 2. The paths are asked of Wine first: a
# Wine server still running without a display would keep the window from opening.
shotPath=$(winepath -w "$shot.png")
shot2Path=$(winepath -w "${shot}_2.0x.png")
wineserver -w
snapshot() {
    xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-run.sh "$stage/serivane.exe" snapshot \
        --stopped --bundle "$bundlePath" "$@" >/dev/null
}
snapshot "$shotPath"
snapshot --scale 2 "$shot2Path"
scripts/wine-run.sh build-windows/host/moduleinfo/serivane-moduleinfo.exe "$bundlePath"

crlf README.md "$stage/README.md"
crlf doc/copyright "$stage/COPYRIGHT.txt"
crlf /usr/share/common-licenses/GPL-3 "$stage/LICENSE-GPL-3.txt"
cat >"$work/INSTALL.txt" <<NOTE
Serivane $version for 64-bit Windows

Install the plug-in: copy the folder Serivane.vst3 into
    C:\\Program Files\\Common Files\\VST3\\
the folder every VST3 host scans, then let the host scan for new plug-ins.
Uninstall it by deleting that folder again.

The command-line tool serivane.exe renders the instrument to sound files and
lists its presets without a host; it finds the installed bundle by itself:
    serivane.exe --help
    serivane.exe render --preset 7.83 --seconds 60 schumann.wav
Before installing, point it at the bundle beside it with --bundle Serivane.vst3.

README.md describes the instrument and the tool; COPYRIGHT.txt and
LICENSE-GPL-3.txt the terms under which they are distributed.
NOTE
crlf "$work/INSTALL.txt" "$stage/INSTALL.txt"

mkdir -p dist
rm -f "$zip"
(cd "$work" && zip -qr -X "$OLDPWD/$zip" "$name")
echo "Built $zip"

[ "$test" -eq 1 ] || exit 0

# Unpacked into a fresh prefix and installed as the note says, the tool finds the bundle.
wineserver -k 2>/dev/null || true
newPrefix "$work/test-wine"
drive="$WINEPREFIX/drive_c"
unzip -q "$zip" -d "$drive"
vst3="$drive/Program Files/Common Files/VST3"
mkdir -p "$vst3"
cp -r "$drive/$name/Serivane.vst3" "$vst3/"
scripts/wine-run.sh "$drive/$name/serivane.exe" info | tr -d '\r' >"$work/info.txt"
grep -qi '^  bundle  *C:\\Program Files\\Common Files\\VST3\\Serivane.vst3$' "$work/info.txt" ||
    { echo "serivane.exe did not load the installed bundle:" >&2; grep bundle "$work/info.txt" >&2; exit 1; }
scripts/wine-run.sh "$drive/$name/serivane.exe" render --preset 7.83 --seconds 2 'C:\render.wav' \
    >/dev/null
[ -s "$drive/render.wav" ] || { echo "the unpacked tool rendered nothing" >&2; exit 1; }
echo "Unpacked $zip into a fresh Wine prefix, installed it and rendered with it"
