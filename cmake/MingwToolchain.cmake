# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which
# std::thread and std::mutex need). SERIVANE_MINGW_PREFIX names the folder that holds the
# cross-built libpng, pixman, FreeType and cairo (scripts/build-windows-deps.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

set(SERIVANE_MINGW_PREFIX "$ENV{HOME}/.cache/serivane-mingw/prefix"
    CACHE PATH "Prefix of the cross-built libraries")
set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${SERIVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the cross-built libraries' files.
set(ENV{PKG_CONFIG_LIBDIR} "${SERIVANE_MINGW_PREFIX}/lib/pkgconfig:/usr/${_triple}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
