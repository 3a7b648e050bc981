# The Debian package: `cpack` in a build tree makes kalvetor_<version>_<arch>.deb
# from what `cmake --install` puts under /usr. Qt comes from Debian's own
# packages, found by dpkg-shlibdeps; the window's font is the one other need.

# Licences: the code is under MIT; the catalogue's texts, the icon and the
# screenshot are under CC BY-SA 4.0; the AppStream entry is under FSFAP.
# .reuse/dep5 says which file is under which, and LICENSES/ holds the texts,
# for any package that must carry them.
set(KALVETOR_COPYRIGHT_FILE ${PROJECT_SOURCE_DIR}/.reuse/dep5)
set(KALVETOR_LICENSE_FILES
    ${PROJECT_SOURCE_DIR}/LICENSES/MIT.txt
    ${PROJECT_SOURCE_DIR}/LICENSES/CC-BY-SA-4.0.txt
    ${PROJECT_SOURCE_DIR}/LICENSES/FSFAP.txt)

if(NOT WIN32)
    # Debian's copyright file is .reuse/dep5 itself with the full text of
    # each licence added as a stand-alone License paragraph, since none of
    # the three is in /usr/share/common-licenses: one source for both.
    file(READ ${KALVETOR_COPYRIGHT_FILE} debian_copyright)
    foreach(license_file IN LISTS KALVETOR_LICENSE_FILES)
        get_filename_component(license ${license_file} NAME_WLE)
        file(READ ${license_file} text)
        string(STRIP "${text}" text)
        # Continuation lines begin with a space; an empty one is " .".
        string(REPLACE "\n" "\n " text "${text}")
        string(REPLACE "\n \n" "\n .\n" text "${text}")
        string(REPLACE "\n \n" "\n .\n" text "${text}")
        string(APPEND debian_copyright "\nLicense: ${license}\n ${text}\n")
    endforeach()
    set(KALVETOR_DEBIAN_COPYRIGHT ${PROJECT_BINARY_DIR}/copyright)
    file(WRITE ${PROJECT_BINARY_DIR}/copyright.new "${debian_copyright}")
    configure_file(${PROJECT_BINARY_DIR}/copyright.new ${KALVETOR_DEBIAN_COPYRIGHT} COPYONLY)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
        ${KALVETOR_COPYRIGHT_FILE} ${KALVETOR_LICENSE_FILES})
    install(FILES ${KALVETOR_DEBIAN_COPYRIGHT} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kalvetor)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvetor)
set(CPACK_PACKAGE_VERSION ${KALVETOR_DISPLAY_VERSION})
set(CPACK_PACKAGE_VENDOR ${KALVETOR_DEVELOPER})
set(CPACK_PACKAGE_CONTACT "${KALVETOR_DEVELOPER} <developers@kalvetor.bg>")
set(CPACK_PACKAGE_DESCRIPTION
    "One window lists 24 Bulgarian national awakeners: enlighteners, writers,
clergy, rulers and revolutionaries, and one group of saints. Choosing a name
shows a paragraph on that person's life and work. Made for a school project
that joins History and Informatics; all text is in Bulgarian.")
set(CPACK_STRIP_FILES ON)
# The same directory modes whatever the umask of whoever builds the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)

include(CPack)
