# Fuzz targets of the string database.
if(TARGET strandex_db)
  tx_add_fuzzer(NAME tdb_load_fuzz SOURCES tdb_load_fuzz.cpp LIBS strandex_db)
endif()
