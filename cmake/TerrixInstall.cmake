# What "cmake --install" puts where, in two components that become the two Debian packages:
#   cli  terrix-cli, terrix-sim, their manual pages, the logger and collector services, README, guide,
#        fleet guide, example scenarios
#   gui  the desktop program, its translations, desktop entry, icons, AppStream metadata, manual page
# Directories are created world-readable whatever the umask of the one who installs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
# The homepage and the maintainer's address: the package's control data, its copyright file and the
# AppStream metadata (whose screenshots are the guide's pictures below the homepage).
set(TERRIX_HOMEPAGE "https://terrix.example.org" CACHE STRING "Web address of the project")
set(TERRIX_MAINTAINER "Terrix developers <terrix@example.org>" CACHE STRING "Name and address of the packager")
set(TERRIX_CLI_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/terrix-cli)
set(TERRIX_GUI_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/terrix)

install(TARGETS terrix-cli terrix-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/terrix-logger.service
              ${PROJECT_SOURCE_DIR}/packaging/terrix-collect@.service
        DESTINATION lib/systemd/system COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/docs/fleet.md
        DESTINATION ${TERRIX_CLI_DOCDIR} COMPONENT cli)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${TERRIX_CLI_DOCDIR} COMPONENT cli
        FILES_MATCHING PATTERN "*.png")
install(FILES ${PROJECT_SOURCE_DIR}/sim/SCENARIOS.md DESTINATION ${TERRIX_CLI_DOCDIR}/examples/scenarios
        COMPONENT cli)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sim/scenarios/ DESTINATION ${TERRIX_CLI_DOCDIR}/examples/scenarios
        COMPONENT cli FILES_MATCHING PATTERN "*.json")

# Every package's documentation folder holds its copyright and changelog (a Debian package must).
execute_process(COMMAND date -u -R -d "${TERRIX_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE TERRIX_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
# The packages' revision of this version (the Debian part after the hyphen).
set(TERRIX_DEB_RELEASE 1)
set(TERRIX_DEB_VERSION ${PROJECT_VERSION}-${TERRIX_DEB_RELEASE})
set(package_docs ${PROJECT_BINARY_DIR}/package-docs)
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${package_docs}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${package_docs}/changelog.Debian @ONLY)
execute_process(COMMAND gzip -9 -n -f -k ${package_docs}/changelog.Debian)
foreach(pair "cli|${TERRIX_CLI_DOCDIR}" "gui|${TERRIX_GUI_DOCDIR}")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 component)
    list(GET pair 1 docdir)
    if(component STREQUAL "gui" AND NOT TERRIX_BUILD_GUI)
        continue()
    endif()
    install(FILES ${package_docs}/copyright ${package_docs}/changelog.Debian.gz DESTINATION ${docdir}
            COMPONENT ${component})
endforeach()

if(TARGET terrix_man_pages)
    foreach(page IN LISTS TERRIX_MAN_PAGES_BUILT)
        get_filename_component(program ${page} NAME_WE)
        set(component cli)
        if(program STREQUAL "terrix")
            set(component gui)
        endif()
        install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
    endforeach()
endif()

if(TERRIX_BUILD_GUI)
    install(TARGETS terrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
    install(FILES ${PROJECT_SOURCE_DIR}/res/${TERRIX_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT gui)
    configure_file(${PROJECT_SOURCE_DIR}/res/${TERRIX_APP_ID}.metainfo.xml.in
                   ${PROJECT_BINARY_DIR}/res/${TERRIX_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/res/${TERRIX_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT gui)
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/hicolor/${TERRIX_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT gui)
    foreach(size 16 22 24 32 48 64 128 256)
        install(FILES ${PROJECT_SOURCE_DIR}/res/icons/hicolor/${size}x${size}/apps/${TERRIX_APP_ID}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT gui)
    endforeach()
endif()
