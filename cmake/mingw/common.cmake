# What the 64-bit and the 32-bit Windows toolchain files share: the compilers of the triplet
# TX_MINGW_TRIPLET, a static runtime so that each .exe runs alone, and the wine loader TX_WINE
# (when found) as the emulator that runs the tests.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

if(TX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TX_WINE})
endif()

# The header-only libraries come from the host's Debian packages: the folder beside this file
# holds package files that point at their headers only, not at the rest of /usr/include.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/nlohmann_json CACHE PATH "")
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/CLI11 CACHE PATH "")
