# Cross-compiles Terrix for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, so that
# std::thread and std::mutex work). The runtime libraries are linked statically so that every .exe runs
# on a bare Windows (or Wine) without extra DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TERRIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TERRIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TERRIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TERRIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TERRIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The header-only libraries (nlohmann-json, CLI11) come from the host's packages; their own package files
# would put the host's /usr/include on the compiler's path, so small package files here name only their
# folders. googletest is built from Debian's sources with this compiler.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/windows CACHE PATH "")
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/windows CACHE PATH "")
set(TERRIX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "googletest sources built with the tests")

