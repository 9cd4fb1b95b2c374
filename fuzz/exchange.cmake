# Fuzz targets of the exchange formats.
if(TARGET strandex_exchange)
  tx_add_fuzzer(NAME exchange_text_table_fuzz SOURCES exchange_text_table.cpp LIBS strandex_exchange)
  tx_add_fuzzer(NAME exchange_po_fuzz SOURCES exchange_po.cpp LIBS strandex_exchange)
  tx_add_fuzzer(NAME exchange_xliff_fuzz SOURCES exchange_xliff.cpp LIBS strandex_exchange)
endif()
