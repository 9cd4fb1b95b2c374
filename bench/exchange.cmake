# Benchmarks of the exchange formats; exchange_import.sh compares tdbtool import-table with
# msgfmt on the data exchange_bench generates. The data come from tdb_generator (tdb.cmake).
if(TARGET strandex_exchange)
  tx_add_benchmark(NAME exchange_bench SOURCES exchange_bench.cpp LIBS tdb_generator strandex_exchange)
endif()
