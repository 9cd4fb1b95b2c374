# Benchmarks of the string database file, and the generator of their data (also used by the
# text table benchmarks).
if(TARGET tdb_exchange)
  add_library(tdb_generator STATIC tdb_generator.cpp)
  target_link_libraries(tdb_generator PUBLIC tdb_exchange tdb common)
  target_include_directories(tdb_generator PUBLIC ${PROJECT_SOURCE_DIR})

  tx_add_benchmark(NAME tdb_bench SOURCES tdb_bench.cpp LIBS tdb_generator)
  if(TARGET tdb_bench AND TARGET tdbtool)
    target_compile_definitions(tdb_bench PRIVATE TDBTOOL_PATH="$<TARGET_FILE:tdbtool>")
    add_dependencies(tdb_bench tdbtool)
  endif()
endif()

# The database of many renumbered strings and problems, for tdb_linear_bench.sh.
if(TARGET tdb_generator)
  tx_add_bench_program(NAME tdb_problems_gen SOURCES tdb_problems_gen.cpp LIBS tdb_generator)
endif()
