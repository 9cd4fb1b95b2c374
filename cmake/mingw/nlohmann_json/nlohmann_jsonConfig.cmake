# nlohmann-json for the cross build: Debian's headers, nothing else of the host.
include(${CMAKE_CURRENT_LIST_DIR}/../host_headers.cmake)
tx_host_headers(TARGET nlohmann_json::nlohmann_json HEADERS nlohmann)
