if(TARGET facetrue_lib)
  tx_add_benchmark(NAME facetrue_bench SOURCES facetrue_bench.cpp LIBS facetrue_lib)
  # The model generator for facetrue_bench.sh, which times the facetrue program against a safe
  # rewrite of the same files.
  add_executable(facetrue_generate facetrue_generate.cpp)
  target_link_libraries(facetrue_generate PRIVATE vxmlib)
  set_target_properties(facetrue_generate PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  # The peer that facetrue_bench.sh times beside facetrue.
  add_executable(safe_rewrite safe_rewrite.cpp)
  set_target_properties(safe_rewrite PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(benchmarks facetrue_generate safe_rewrite facetrue)
endif()
