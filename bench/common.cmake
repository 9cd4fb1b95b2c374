if(TARGET common)
  tx_add_benchmark(NAME buffered_read_bench SOURCES buffered_read_bench.cpp LIBS common)
endif()
