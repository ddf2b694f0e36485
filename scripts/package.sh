#!/usr/bin/env bash
# Builds dist/serivane_<version>_amd64.deb from the release build in build/ (brought up to date
# first): the bundle in /usr/lib/vst3, the tool in /usr/bin, the manual page, bash completion,
# the README and the copyright file, the editor's snapshot pictures in the bundle, its
# dependencies found by dpkg-shlibdeps, then checks it with lintian (errors fail). With --test, installs it, runs `serivane info` and a short render
# from the installed files, removes it again and checks that nothing of it is left.
set -euo pipefail
cd "$(dirname "$0")/.."

test=0
build=build
while [ $# -gt 0 ]; do
    case "$1" in
    --test)
        test=1
        shift
        ;;
    --build)
        build="${2:?--build needs a folder}"
        shift 2
        ;;
    *)
        echo "usage: scripts/package.sh [--build DIR] [--test]" >&2
        exit 2
        ;;
    esac
done

scripts/install-deps.sh
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)" --target Serivane serivane moduleinfo serivane-moduleinfo
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
architecture=$(dpkg --print-architecture)
deb="dist/serivane_${version}_${architecture}.deb"

work=$(mktemp -d)
installed=0
# A test that fails leaves neither the package nor its files behind.
cleanUp() {
    [ "$installed" -eq 0 ] || DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq serivane >/dev/null
    rm -rf "$work"
}
trap cleanUp EXIT
root="$work/serivane"
doc="$root/usr/share/doc/serivane"
install -d "$root/DEBIAN" "$root/usr/bin" "$root/usr/lib/vst3" "$root/usr/share/man/man1" \
    "$root/usr/share/bash-completion/completions" "$doc"
cp -r "$build/Serivane.vst3" "$root/usr/lib/vst3/"
# The editor's pictures that hosts show in their plug-in browsers, taken with the built tool on
# a virtual X server of its own, the 2.0x one with the editor at a content scale of 2. The
# module info is written again to list them.
bundle="$root/usr/lib/vst3/Serivane.vst3"
cid=$(sed -n 's/.*"CID": "\([0-9A-F]*\)".*/\1/p' "$bundle/Contents/Resources/moduleinfo.json")
mkdir -p "$bundle/Contents/Resources/Snapshots"
shot="$bundle/Contents/Resources/Snapshots/${cid}_snapshot"
env -u DISPLAY "$build/tools/serivane" snapshot --stopped --bundle "$build/Serivane.vst3" \
    "$shot.png" >/dev/null
env -u DISPLAY "$build/tools/serivane" snapshot --stopped --scale 2 \
    --bundle "$build/Serivane.vst3" "${shot}_2.0x.png" >/dev/null
"$build/host/moduleinfo/serivane-moduleinfo" "$bundle"
install -m 755 "$build/tools/serivane" "$root/usr/bin/serivane"
strip --strip-unneeded --remove-section=.comment --remove-section=.note \
    "$root/usr/bin/serivane" "$bundle/Contents/x86_64-linux/Serivane.so"
gzip -9n <"$build/doc/serivane.1" >"$root/usr/share/man/man1/serivane.1.gz"
install -m 644 doc/serivane.bash-completion "$root/usr/share/bash-completion/completions/serivane"
gzip -9n <README.md >"$doc/README.md.gz"
install -m 644 doc/copyright "$doc/copyright"
# The date of the commit built, so that the same commit gives the same package.
date=$(date -R -d "@$(git log -1 --format=%ct 2>/dev/null || date +%s)")
printf 'serivane (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
    "$version" "$version" "Tolvane <serivane@tolvane.com>" "$date" | gzip -9n >"$doc/changelog.gz"
find "$root" -type d -exec chmod 755 {} +
find "$root" -type f ! -path "$root/usr/bin/*" -exec chmod 644 {} +

# dpkg-shlibdeps reads the package list of a source tree: a minimal one is enough.
mkdir -p "$work/source/debian"
printf 'Source: serivane\n\nPackage: serivane\nArchitecture: any\n' >"$work/source/debian/control"
depends=$(cd "$work/source" && dpkg-shlibdeps -O -e"$root/usr/bin/serivane" \
    -e"$root/usr/lib/vst3/Serivane.vst3/Contents/x86_64-linux/Serivane.so" |
    sed -n 's/^shlibs:Depends=//p')
cat >"$root/DEBIAN/control" <<CONTROL
Package: serivane
Version: $version
Architecture: $architecture
Maintainer: Tolvane <serivane@tolvane.com>
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $depends
Recommends: fonts-liberation, fonts-dejavu-core
Section: sound
Priority: optional
Homepage: https://www.tolvane.com
Description: binaural-beat instrument for VST3 hosts, with a command-line tool
 Serivane generates binaural beats: up to 16 tones per ear sweep between a low
 and a high frequency, the two ears a chosen beat frequency apart, each tone
 with one of seven waveforms and two looping envelopes; 150 factory presets.
 .
 The VST3 plug-in is installed into /usr/lib/vst3, where Linux hosts find it.
 The serivane tool renders it to sound files, plays it live, runs timed
 session programs and measures the beat of a recording, without a DAW.
CONTROL
(cd "$root" && find usr -type f -exec md5sum {} + | sort -k 2 >DEBIAN/md5sums)
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

mkdir -p dist
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "Built $deb"
lintian --fail-on error "$deb"

[ "$test" -eq 1 ] || exit 0

# Installed, the tool finds the system's bundle when this user has none of their own.
home="$work/home"
mkdir -p "$home"
installed=1
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$PWD/$deb" >/dev/null
HOME="$home" /usr/bin/serivane info >"$work/info.txt"
grep -q "^  bundle  */usr/lib/vst3/Serivane.vst3$" "$work/info.txt" ||
    { echo "serivane info did not load /usr/lib/vst3/Serivane.vst3" >&2; exit 1; }
for f in moduleinfo.json "Snapshots/${cid}_snapshot.png" "Snapshots/${cid}_snapshot_2.0x.png"; do
    [ -s "/usr/lib/vst3/Serivane.vst3/Contents/Resources/$f" ] || { echo "no $f" >&2; exit 1; }
done
HOME="$home" /usr/bin/serivane render --preset 7.83 --seconds 2 "$work/render.wav"
[ -s "$work/render.wav" ] || { echo "the installed tool rendered nothing" >&2; exit 1; }
man -w serivane >/dev/null
# Completion of a command, a preset name and a built-in program, as bash asks for them.
expectCompletion() {
    local expected="$1"
    shift
    local got
    got=$(HOME="$home" bash -c 'source /usr/share/bash-completion/bash_completion
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        _completion_loader serivane; _serivane serivane; printf "%s\n" "${COMPREPLY[@]}"' - "$@")
    grep -qF -- "$expected" <<<"$got" ||
        { echo "bash completion of \"$*\" offered: $got" >&2; exit 1; }
}
expectCompletion render serivane ren
expectCompletion 'Psychic\ -\ Schumann\ Resonance\ \(7.83\)' serivane render --preset Psychic
expectCompletion sleep-descent serivane programs sle
expectCompletion --fade-out serivane render --fade

files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$')
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq serivane >/dev/null
installed=0
left=""
for f in $files /usr/lib/vst3/Serivane.vst3; do
    [ -e "$f" ] && left+=" $f"
done
[ -z "$left" ] || { echo "left behind after removal:$left" >&2; exit 1; }
dpkg-query -W serivane >/dev/null 2>&1 && { echo "serivane is still known to dpkg" >&2; exit 1; }
echo "Installed, ran and removed $deb"
