#!/usr/bin/env bash
# Cross-builds the libraries the Windows bundle links statically (libpng, pixman, FreeType and
# cairo with its Win32 surface and font back ends), and libsndfile and FFTW for serivane.exe, from
# Debian's source packages into a cache outside the repository. A library already in the cache
# is left alone.
#   SERIVANE_MINGW_CACHE  the cache folder (default ~/.cache/serivane-mingw)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"

cache="${SERIVANE_MINGW_CACHE:-$HOME/.cache/serivane-mingw}"
prefix="$cache/prefix"
triple=x86_64-w64-mingw32
jobs="$(nproc)"
mkdir -p "$cache/src" "$cache/build" "$prefix"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# apt-get source needs deb-src lines; they are added beside the binary ones when missing.
ensure_source_lines() {
    if apt-get source --print-uris -qq libpng1.6 >/dev/null 2>&1; then return; fi
    echo "Adding Debian source package lines to apt's sources"
    $sudo tee /etc/apt/sources.list.d/serivane-deb-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    $sudo apt-get update -qq
}

# Unpacks the newest version of a source package that can be fetched whole, with Debian's
# patches applied; when no version can, the upstream tarball alone. Prints the source folder.
fetch_source() {
    local package="$1" dir="$cache/src/$1"
    if [ -f "$dir/.unpacked" ]; then
        cat "$dir/.unpacked"
        return
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    local version tree=""
    for version in $(apt-cache showsrc "$package" | awk '/^Version:/ {print $2}' | sort -rV); do
        if (cd "$dir" && apt-get source -qq --download-only "$package=$version" >&2 2>/dev/null); then
            local dsc
            dsc="$(ls "$dir"/*.dsc | head -n1)"
            tree="$dir/tree"
            if dpkg-source --no-check -x "$dsc" "$tree" >&2; then break; fi
            rm -rf "$tree"
            tree=""
        fi
        rm -f "$dir"/*.dsc "$dir"/*.debian.tar.* "$dir"/*.diff.gz
    done
    if [ -z "$tree" ]; then
        local orig
        orig="$(ls "$dir"/*.orig.tar.* 2>/dev/null | grep -v -e '-[a-z0-9]*\.tar' -e '\.asc$' | head -n1 || true)"
        if [ -z "$orig" ]; then
            echo "Cannot fetch the source package $package" >&2
            exit 1
        fi
        echo "Using the upstream tarball of $package without Debian's patches" >&2
        tree="$dir/tree"
        mkdir -p "$tree"
        tar xf "$orig" -C "$tree" --strip-components=1
    fi
    # Patched autotools inputs must not make the build regenerate its scripts.
    find "$tree" -name aclocal.m4 -exec touch {} +
    sleep 1
    find "$tree" \( -name configure -o -name Makefile.in -o -name config.h.in \) -exec touch {} +
    echo "$tree" >"$dir/.unpacked"
    echo "$tree"
}

# Raised whenever a recipe below changes, so that caches of an older recipe are rebuilt.
recipe=2
done_mark() { echo "$prefix/.built-$1-$recipe"; }

cmake_build() {
    local name="$1" source="$2"
    shift 2
    local build="$cache/build/$name"
    rm -rf "$build"
    cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/MingwToolchain.cmake" \
        -DSERIVANE_MINGW_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
    cmake --build "$build" -j"$jobs" >/dev/null
    cmake --install "$build" >/dev/null
}

autotools_build() {
    local name="$1" source="$2" subdir="$3" cppflags="$4"
    shift 4
    local build="$cache/build/$name"
    rm -rf "$build"
    mkdir -p "$build"
    (cd "$build" &&
        PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/$triple/lib/pkgconfig" PKG_CONFIG_PATH="" \
            CC="$triple-gcc-posix" CFLAGS="-O2" CPPFLAGS="-I$prefix/include $cppflags" LDFLAGS="-L$prefix/lib" \
            "$source/configure" --host="$triple" --prefix="$prefix" --enable-static \
            --disable-shared "$@" >/dev/null &&
        make -C "$subdir" -j"$jobs" >/dev/null &&
        make -C "$subdir" install >/dev/null) || return 1
    # The library's pkg-config file lies beside its sources' Makefile.
    local pc
    for pc in "$build"/*.pc "$build/$subdir"/*.pc; do
        case "$pc" in *-uninstalled.pc) continue ;; esac
        [ -f "$pc" ] && install -m 644 -D "$pc" "$prefix/lib/pkgconfig/$(basename "$pc")"
    done
    return 0
}

build_libpng() {
    local source
    source="$(fetch_source libpng1.6)"
    cmake_build libpng "$source" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="/usr/$triple/lib/libz.a" \
        -DZLIB_INCLUDE_DIR="/usr/$triple/include"
}

build_freetype() {
    local source
    source="$(fetch_source freetype)"
    # zlib is the system's, which libpng uses as well, rather than FreeType's own copy.
    cmake_build freetype "$source" -DBUILD_SHARED_LIBS=OFF -DFT_REQUIRE_ZLIB=ON \
        -DZLIB_LIBRARY="/usr/$triple/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$triple/include" \
        -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
}

build_pixman() {
    local source
    source="$(fetch_source pixman)"
    autotools_build pixman "$source" pixman "" --disable-gtk --disable-libpng --disable-openmp
}

build_cairo() {
    local source
    source="$(fetch_source cairo)"
    # A static cairo leaves DllMain to the library it goes into.
    autotools_build cairo "$source" src -DCAIRO_WIN32_STATIC_BUILD --enable-win32 --enable-win32-font --enable-ft \
        --disable-fc --enable-png --disable-xlib --disable-xlib-xrender --disable-xcb \
        --disable-quartz --disable-script --disable-ps --disable-pdf --disable-svg \
        --disable-interpreter --disable-trace --disable-gobject --disable-tee \
        --disable-symbol-lookup --disable-valgrind --disable-full-testing
}

# WAV files only: the codecs' own libraries stay out.
build_libsndfile() {
    local source
    source="$(fetch_source libsndfile)"
    cmake_build libsndfile "$source" -DBUILD_SHARED_LIBS=OFF -DENABLE_EXTERNAL_LIBS=OFF \
        -DENABLE_MPEG=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF \
        -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF
}

# Double precision, as the beat analysis's spectra use it; the SSE2 codelets only, to keep the
# build short.
build_fftw3() {
    local source
    source="$(fetch_source fftw3)"
    autotools_build fftw3 "$source" . "" --disable-fortran --disable-doc --enable-sse2 \
        --disable-threads --disable-openmp --with-our-malloc
    # Its pkg-config file is installed as fftw3.pc; the build folder's copy has another name.
    rm -f "$prefix/lib/pkgconfig/fftw.pc"
}

# Single precision, for the analysis's analytic signals: a build of its own into the same prefix.
build_fftw3f() {
    local source
    source="$(fetch_source fftw3)"
    autotools_build fftw3f "$source" . "" --enable-float --disable-fortran --disable-doc \
        --enable-sse2 --disable-threads --disable-openmp --with-our-malloc
    rm -f "$prefix/lib/pkgconfig/fftw.pc"
}

needed=()
for library in libpng freetype pixman cairo libsndfile fftw3 fftw3f; do
    [ -f "$(done_mark "$library")" ] || needed+=("$library")
done
[ ${#needed[@]} -eq 0 ] && exit 0

ensure_source_lines
for library in "${needed[@]}"; do
    echo "Cross-building $library into $prefix"
    log="$cache/build/$library.log"
    mkdir -p "$cache/build"
    if ! "build_$library" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "Cross-building $library failed; the whole log is $log" >&2
        exit 1
    fi
    touch "$(done_mark "$library")"
done
