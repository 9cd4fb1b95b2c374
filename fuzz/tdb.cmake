# Fuzz targets of the string database.
if(TARGET tdb)
  tx_add_fuzzer(NAME tdb_load_fuzz SOURCES tdb_load_fuzz.cpp LIBS tdb)
endif()
