# The editor, measured through its logic with the Qt model (offscreen) or the Win32 window
# attached: open and show
# the largest category, switch tabs, Find, Goto and Remove String, and the peak memory.
# Its data come from tdb_generator (tdb.cmake).
if((TARGET strandex_qt OR TARGET strandex_win32) AND TARGET tdb_exchange)
  add_executable(editor_bench editor_bench.cpp)
  if(WIN32)
    target_link_libraries(editor_bench PRIVATE strandex_win32 tdb_generator psapi)
  else()
    target_link_libraries(editor_bench PRIVATE strandex_qt tdb_generator)
  endif()
  set_target_properties(editor_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(benchmarks editor_bench)
endif()

# A scripted use of the editor through its main window, with either front end, for
# scripts/compare-windows.sh.
if(TARGET strandex_qt OR TARGET strandex_win32)
  add_executable(editor_script editor_script.cpp)
  if(WIN32)
    target_link_libraries(editor_script PRIVATE strandex_win32)
  else()
    # Types and keys through Qt's test events, which reach shortcuts as real keys do.
    find_package(Qt6 REQUIRED COMPONENTS Test)
    target_link_libraries(editor_script PRIVATE strandex_qt Qt6::Test)
  endif()
  set_target_properties(editor_script PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(benchmarks editor_script)
endif()

# The editor's start with a file, as a whole process, for editor_open_bench.sh.
if(TARGET strandex_qt)
  tx_add_bench_program(NAME editor_open SOURCES editor_open.cpp LIBS strandex_qt)
endif()
