# Fuzz targets of the exchange formats.
if(TARGET tdb_exchange)
  tx_add_fuzzer(NAME exchange_text_table_fuzz SOURCES exchange_text_table.cpp LIBS tdb_exchange)
  tx_add_fuzzer(NAME exchange_po_fuzz SOURCES exchange_po.cpp LIBS tdb_exchange)
  tx_add_fuzzer(NAME exchange_xliff_fuzz SOURCES exchange_xliff.cpp LIBS tdb_exchange)
endif()
