# The editor's start with a database of many categories, painted once, as a whole process, for
# editor_categories_bench.sh.
if(TARGET strandex_qt)
  tx_add_bench_program(NAME editor_categories SOURCES editor_categories.cpp LIBS strandex_qt)
endif()
