# Cross build for 32-bit Windows with Debian's mingw-w64 (posix threads) compilers; tests run
# under Debian's 32-bit wine (wine32, "scripts/deps.sh wine32").
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TX_MINGW_TRIPLET i686-w64-mingw32)

# Floating point in SSE registers, as on x86-64: the x87 unit's wider intermediates would round
# the models' numbers differently from the other builds.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# Debian's 32-bit wine loader is /usr/lib/wine/wine (wine32's), off the PATH.
find_program(TX_WINE32 NAMES wine PATHS /usr/lib/wine /usr/lib/i386-linux-gnu/wine NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
set(TX_WINE ${TX_WINE32})

include(${CMAKE_CURRENT_LIST_DIR}/common.cmake)
