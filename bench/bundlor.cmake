# bundlor's benchmark: the tree generator, run with bundlor_bench.sh (see bench/README.md).
if(TARGET bundlor)
  add_executable(bundlor_tree_gen bundlor_tree_gen.cpp)
  set_target_properties(bundlor_tree_gen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(benchmarks bundlor_tree_gen bundlor)
endif()
