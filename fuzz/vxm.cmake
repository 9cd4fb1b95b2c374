if(TARGET vxmlib)
  tx_add_fuzzer(NAME vxm_fuzz SOURCES vxm_fuzz.cpp LIBS vxmlib)
endif()
