# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads) compilers. Programs
# are linked with a static runtime so that each .exe runs alone; tests run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian installs wine64 off the PATH, in wine's library folder.
find_program(TX_WINE64 NAMES wine64 wine PATHS /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine NO_CMAKE_FIND_ROOT_PATH)
if(TX_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TX_WINE64})
endif()

# The header-only libraries come from the host's Debian packages: the folder beside this file
# holds package files that point at their headers only, not at the rest of /usr/include.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/nlohmann_json CACHE PATH "")
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/CLI11 CACHE PATH "")
