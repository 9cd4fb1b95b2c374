# Read by cpack once per generator: the installer is named ...-setup.exe, the archive keeps the
# plain name.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
