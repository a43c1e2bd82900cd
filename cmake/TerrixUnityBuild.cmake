# TERRIX_UNITY_BUILD compiles the sources of every target in batches (a unity build). A full build then parses
# the heavy headers (Qt, GoogleTest, the standard library) once per batch instead of once per file, which
# roughly halves a sanitizer build from scratch; an incremental build recompiles a whole batch, so the
# development build leaves it off. scripts/test.sh, fuzz.sh and package-deb.sh turn it on.
#
# Files in a batch share one translation unit, so names in anonymous namespaces must not collide with another
# file's. The files below define such a name a file before them also defines; they compile on their own. A
# new collision shows as a "redefinition" error in the unity build only: rename the name or add the file here.
option(TERRIX_UNITY_BUILD "Compile in batches (faster from scratch, slower incremental builds)" OFF)
# Files per batch. A larger batch parses the headers fewer times but leaves fewer batches to share out among
# the processors, so builds that run beside other work (the thread-sanitizer, fuzz and package builds in
# scripts/test.sh) take larger ones.
set(TERRIX_UNITY_BATCH_SIZE 8 CACHE STRING "Files per unity batch")

set(terrix_unity_own_unit
    cli/cmd_collect.cpp
    cli/cmd_config_calib.cpp
    cli/cmd_config_params.cpp
    cli/cmd_config_settings.cpp
    cli/cmd_measure.cpp
    cli/cmd_scan.cpp
    cli/cmd_send.cpp
    core/busops/collisions.cpp
    core/config/par_file.cpp
    core/inventory/module_record.cpp
    core/platform/ini_document.cpp
    core/platform/ini_section.cpp
    core/publish/broker_url.cpp
    core/publish/publish_cursor.cpp
    core/publish/publisher.cpp
    gui/circuit/meas_circuit_controller.cpp
    gui/circuit/meas_circuit_dlg.cpp
    gui/config/coefficients_dlg.cpp
    gui/toolkit/core_text.cpp)

function(terrix_unity_targets dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "EXECUTABLE")
            set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${TERRIX_UNITY_BATCH_SIZE})
            # In a batch every file is an included one, so GCC takes a lambda that captures a type of the
            # file's anonymous namespace for a header's type leaking a local one; built alone it is fine.
            target_compile_options(${target} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        terrix_unity_targets(${sub})
    endforeach()
endfunction()

if(TERRIX_UNITY_BUILD)
    get_property(added DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY SUBDIRECTORIES)
    foreach(file IN LISTS terrix_unity_own_unit)
        # The property belongs to the folder that adds the target: core/, cli/ and gui/ add theirs at the top
        # (gui/ not at all in a build without the desktop program).
        string(REGEX MATCH "^[a-z]+" top ${file})
        if(NOT ${PROJECT_SOURCE_DIR}/${top} IN_LIST added)
            continue()
        endif()
        set_source_files_properties(${PROJECT_SOURCE_DIR}/${file} DIRECTORY ${PROJECT_SOURCE_DIR}/${top}
                                    PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endforeach()
    terrix_unity_targets(${PROJECT_SOURCE_DIR})
endif()
