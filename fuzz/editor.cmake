# Fuzz targets of the editor: what a person types into its dialogs.
if(TARGET strandex_ui)
  tx_add_fuzzer(NAME editor_fields_fuzz SOURCES editor_fields_fuzz.cpp LIBS strandex_ui)
endif()
