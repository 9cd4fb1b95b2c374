# Fuzz targets of the mix archive: the reader, and mixtool's reading over it.
if(TARGET mixtool_lib)
  tx_add_fuzzer(NAME mix_reader_fuzz SOURCES mix_reader_fuzz.cpp LIBS mixtool_lib)
endif()
