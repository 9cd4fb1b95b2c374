# The editor, measured through its logic with the Qt model attached (offscreen): open and show
# the largest category, switch tabs, Find, Goto and Remove String, and the peak memory.
# Its data come from tdb_generator (tdb.cmake).
if(TARGET strandex_qt AND TARGET strandex_exchange)
  add_executable(editor_bench editor_bench.cpp)
  target_link_libraries(editor_bench PRIVATE strandex_qt tdb_generator)
  set_target_properties(editor_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(benchmarks editor_bench)
endif()

# The editor's start with a file, as a whole process, for editor_open_bench.sh.
if(TARGET strandex_qt)
  tx_add_bench_program(NAME editor_open SOURCES editor_open.cpp LIBS strandex_qt)
endif()
