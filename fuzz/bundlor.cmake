# Fuzz targets of bundlor: the mix archive reader.
if(TARGET bundlor_lib)
  tx_add_fuzzer(NAME bundlor_reader_fuzz SOURCES bundlor_reader_fuzz.cpp LIBS bundlor_lib)
endif()
