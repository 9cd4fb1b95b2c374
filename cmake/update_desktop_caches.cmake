# Run at install time, after the editor's desktop files are in place: brings the prefix's MIME,
# desktop-entry and icon caches up to date, as a package's triggers would, with each tool that
# exists. Nothing is done for a staged install (DESTDIR), whose caches belong to the system it is
# installed on. TX_INSTALL_DATADIR is the data folder under the prefix (share).
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(share "${CMAKE_INSTALL_PREFIX}/${TX_INSTALL_DATADIR}")
foreach(step "update-mime-database;${share}/mime" "update-desktop-database;-q;${share}/applications"
             "gtk-update-icon-cache;-q;-f;-t;${share}/icons/hicolor")
  list(POP_FRONT step tool)
  find_program(program ${tool} NO_CACHE)
  if(program)
    list(JOIN step " " arguments)
    message(STATUS "Updating: ${tool} ${arguments}")
    execute_process(COMMAND ${program} ${step} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(WARNING "${tool} failed (${result}): file managers may not offer strandex for .tdb files until it is run")
    endif()
  endif()
  unset(program)
endforeach()
