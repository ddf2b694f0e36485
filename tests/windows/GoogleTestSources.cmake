# Google Test built with the cross compiler from the sources libgtest-dev installs.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
# It names its targets GTest::gtest and GTest::gtest_main itself.

# A test program runs whole, once, through the emulator that ctest puts before it.
function(gtest_discover_tests target)
    add_test(NAME ${target} COMMAND ${target})
endfunction()
