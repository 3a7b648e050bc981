# The Debian package: `cpack` in a build tree makes kalvetor_<version>_<arch>.deb
# from what `cmake --install` puts under /usr. Qt comes from Debian's own
# packages, found by dpkg-shlibdeps; the window's font and Qt's own texts in
# Bulgarian (its context and scroll bar menus) are the other needs.

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
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")

include(CPack)
