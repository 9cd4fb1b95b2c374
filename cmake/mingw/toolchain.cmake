# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads) compilers. Programs
# are linked with a static runtime so that each .exe runs alone; tests run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TX_MINGW_TRIPLET x86_64-w64-mingw32)

# Debian installs wine64 off the PATH, in wine's library folder.
find_program(TX_WINE64 NAMES wine64 wine PATHS /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine NO_CMAKE_FIND_ROOT_PATH)
set(TX_WINE ${TX_WINE64})

include(${CMAKE_CURRENT_LIST_DIR}/common.cmake)
