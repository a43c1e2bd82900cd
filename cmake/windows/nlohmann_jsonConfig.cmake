include(${CMAKE_CURRENT_LIST_DIR}/TerrixHostHeaders.cmake)
terrix_host_header_target(nlohmann_json::nlohmann_json nlohmann)
