# Benchmarks of the exchange formats; exchange_import.sh compares tdbtool import-table with
# msgfmt on the data exchange_bench generates, po_bench tdbtool import-po with msgfmt. The data
# come from tdb_generator (tdb.cmake).
if(TARGET tdb_exchange)
  tx_add_benchmark(NAME exchange_bench SOURCES exchange_bench.cpp LIBS tdb_generator tdb_exchange)
endif()
if(TARGET tdb_exchange AND TARGET tdbtool)
  tx_add_benchmark(NAME po_bench SOURCES po_bench.cpp LIBS tdb_generator tdb_exchange)
  if(TARGET po_bench)
    target_compile_definitions(po_bench PRIVATE TDBTOOL_PATH="$<TARGET_FILE:tdbtool>")
    add_dependencies(po_bench tdbtool)
  endif()
endif()
