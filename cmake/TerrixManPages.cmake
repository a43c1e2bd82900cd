# Manual pages: docs/man/<program>.1.in with the options and commands filled in from the built program's
# own help (docs/man/help2roff.pl), then compressed for installation. The "man_pages" test renders each page
# with man's warnings switched on.
if(NOT TERRIX_MAN_PAGES)
    return()
endif()
find_program(TERRIX_PERL perl)
find_program(TERRIX_GZIP gzip)
if(NOT TERRIX_PERL OR NOT TERRIX_GZIP)
    message(WARNING "perl or gzip not found: no manual pages (TERRIX_MAN_PAGES=OFF silences this)")
    return()
endif()

set(TERRIX_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(TERRIX_MAN_PAGES_BUILT)
set(man_programs terrix-cli terrix-sim)
if(TERRIX_BUILD_GUI)
    list(APPEND man_programs terrix)
endif()
foreach(program IN LISTS man_programs)
    set(template ${PROJECT_SOURCE_DIR}/docs/man/${program}.1.in)
    set(page ${TERRIX_MAN_DIR}/${program}.1)
    add_custom_command(
        OUTPUT ${page} ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TERRIX_MAN_DIR}
        # The desktop program needs no display for its help; a sanitizer build must not report the leaks of
        # a program that ends from inside its option parser.
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
                ${TERRIX_PERL} ${PROJECT_SOURCE_DIR}/docs/man/help2roff.pl $<TARGET_FILE:${program}> ${program}
                ${template} ${page} ${TERRIX_RELEASE_DATE}
        COMMAND ${TERRIX_GZIP} -9 -n -f -k ${page}
        DEPENDS ${program} ${template} ${PROJECT_SOURCE_DIR}/docs/man/help2roff.pl
        COMMENT "Manual page ${program}(1)"
        VERBATIM)
    list(APPEND TERRIX_MAN_PAGES_BUILT ${page})
endforeach()
add_custom_target(terrix_man_pages ALL DEPENDS ${TERRIX_MAN_PAGES_BUILT})

if(TERRIX_BUILD_TESTS)
    find_program(TERRIX_MAN man)
    if(TERRIX_MAN)
        add_test(NAME man_pages COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-man-pages.sh ${TERRIX_MAN_PAGES_BUILT})
    endif()
endif()
