include(${CMAKE_CURRENT_LIST_DIR}/TerrixHostHeaders.cmake)
terrix_host_header_target(CLI11::CLI11 CLI)
