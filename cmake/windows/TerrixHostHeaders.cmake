# An interface target that adds one header folder of the host's packages without the rest of /usr/include
# (whose C library headers must not reach the cross compiler). The folder is linked into the build tree.
function(terrix_host_header_target target folder)
    if(TARGET ${target})
        return()
    endif()
    set(root ${CMAKE_BINARY_DIR}/host-headers/${folder})
    file(MAKE_DIRECTORY ${root})
    if(NOT EXISTS ${root}/${folder})
        file(CREATE_LINK /usr/include/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()
