# CLI11 for the cross build: Debian's headers, nothing else of the host.
include(${CMAKE_CURRENT_LIST_DIR}/../host_headers.cmake)
tx_host_headers(TARGET CLI11::CLI11 HEADERS CLI)
