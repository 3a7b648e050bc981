# Packages made by `cpack` in a build tree, by the platform built for:
#
# - Linux: the Debian package kalvetor_<version>_<arch>.deb, from what
#   `cmake --install` puts under /usr. Qt comes from Debian's own packages,
#   found by dpkg-shlibdeps; the window's font and Qt's own texts in
#   Bulgarian (its context and scroll bar menus) are the other needs.
# - Windows: for each architecture (<arch> is x64 or x86), the installer
#   Kalvetor-<version>-<arch>.exe (NSIS), which installs per machine into
#   Program Files\Kalvetor (an x86 one on 64-bit Windows: Program Files
#   (x86)\Kalvetor) with a Start menu shortcut and an entry in Add or Remove
#   Programs; the Windows Installer package Kalvetor-<version>-<arch>.msi,
#   which installs the same way (cmake/msi_package.cmake builds it); and the
#   portable Kalvetor-<version>-<arch>.zip. All three hold Kalvetor.exe and
#   the texts below.

# Licences: the code is under MIT; the catalogue's texts, the icon and the
# screenshot are under CC BY-SA 4.0; the AppStream entry is under FSFAP.
# .reuse/dep5 says which file is under which, and LICENSES/ holds the texts,
# for any package that must carry them.
set(KALVETOR_COPYRIGHT_FILE ${PROJECT_SOURCE_DIR}/.reuse/dep5)
set(KALVETOR_LICENSE_FILES
    ${PROJECT_SOURCE_DIR}/LICENSES/MIT.txt
    ${PROJECT_SOURCE_DIR}/LICENSES/CC-BY-SA-4.0.txt
    ${PROJECT_SOURCE_DIR}/LICENSES/FSFAP.txt)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
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

set(CPACK_PACKAGE_VERSION ${KALVETOR_DISPLAY_VERSION})
set(CPACK_PACKAGE_VENDOR ${KALVETOR_DEVELOPER})
set(CPACK_PACKAGE_CONTACT "${KALVETOR_DEVELOPER} <developers@kalvetor.bg>")
set(CPACK_PACKAGE_DESCRIPTION
    "One window lists 24 Bulgarian national awakeners: enlighteners, writers,
clergy, rulers and revolutionaries, and one group of saints. Choosing a name
shows a paragraph on that person's life and work. Made for a school project
that joins History and Informatics; all text is in Bulgarian.")
set(CPACK_STRIP_FILES ON)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    # The readme for whoever unpacks or installs the program, in Bulgarian:
    # UTF-8 with a byte order mark and CRLF line breaks, which Notepad shows
    # as written on every Windows the program runs on (before Windows 10
    # 1903 it read a file without the mark in the ANSI code page). Its name
    # stays ASCII, as the MSI's tables are in code page 1252.
    set(windows_readme_source ${PROJECT_SOURCE_DIR}/resources/windows-readme.txt.in)
    file(READ ${windows_readme_source} windows_readme)
    string(ASCII 239 187 191 utf8_bom)
    file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/README.txt CONTENT "${utf8_bom}${windows_readme}"
        @ONLY NEWLINE_STYLE CRLF)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${windows_readme_source})

    # The texts that go beside the program: the readme, which file is under
    # which licence, and the licences. One line each to add more.
    set(KALVETOR_WINDOWS_TEXTS ${PROJECT_BINARY_DIR}/README.txt)
    install(FILES ${KALVETOR_WINDOWS_TEXTS} DESTINATION .)
    install(FILES ${KALVETOR_COPYRIGHT_FILE} DESTINATION . RENAME COPYRIGHT.txt)
    install(FILES ${KALVETOR_LICENSE_FILES} DESTINATION LICENSES)

    set(CPACK_GENERATOR "NSIS;ZIP")
    # Values reach the generators as written here, backslashes and all.
    set(CPACK_VERBATIM_VARIABLES ON)
    set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
    set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${KALVETOR_DISPLAY_VERSION}-${KALVETOR_WINDOWS_ARCHITECTURE})
    set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})

    # What differs by architecture. Each installer is built for the
    # program's own architecture, and so sees Program Files and the registry
    # as the program does: a 32-bit one on 64-bit Windows sees their 32-bit
    # views (Program Files (x86), WOW6432Node).
    if(KALVETOR_WINDOWS_ARCHITECTURE STREQUAL "x64")
        set(kalvetor_nsis_target amd64-unicode)
        set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    else()
        set(kalvetor_nsis_target x86-unicode)
        set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
    endif()

    # The installer's script: CPack's own NSIS template with the target
    # architecture set at its top, made here in the build tree, where CPack
    # looks for templates before its own.
    set(cpack_nsis_template ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in)
    set(nsis_template_dir ${PROJECT_BINARY_DIR}/nsis-template)
    set(nsis_anchor "; CPack install script designed for a nmake build")
    file(READ ${cpack_nsis_template} nsis_template)
    string(FIND "${nsis_template}" "${nsis_anchor}\n" nsis_anchor_at)
    if(nsis_anchor_at EQUAL -1)
        message(FATAL_ERROR "${cpack_nsis_template} has no line \"${nsis_anchor}\", "
            "after which the installer's Target goes: cmake/packaging.cmake needs another place for it")
    endif()
    string(REPLACE "${nsis_anchor}\n" "${nsis_anchor}\n\n  Target ${kalvetor_nsis_target}\n"
        nsis_template "${nsis_template}")
    file(WRITE ${nsis_template_dir}/NSIS.template.in.new "${nsis_template}")
    configure_file(${nsis_template_dir}/NSIS.template.in.new ${nsis_template_dir}/NSIS.template.in COPYONLY)
    list(PREPEND CMAKE_MODULE_PATH ${nsis_template_dir})

    set(CPACK_NSIS_PACKAGE_NAME ${PROJECT_NAME})
    set(CPACK_NSIS_DISPLAY_NAME ${PROJECT_NAME})
    set(CPACK_NSIS_MUI_ICON ${KALVETOR_ICO})
    set(CPACK_NSIS_MUI_UNIICON ${KALVETOR_ICO})
    set(CPACK_NSIS_INSTALLED_ICON_NAME ${PROJECT_NAME}.exe)
    set(CPACK_NSIS_URL_INFO_ABOUT ${PROJECT_HOMEPAGE_URL})
    set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
    # The program's shortcut, with the program's own icon.
    set(CPACK_NSIS_CREATE_ICONS_EXTRA
        "CreateShortCut '$SMPROGRAMS\\$STARTMENU_FOLDER\\${PROJECT_NAME}.lnk' '$INSTDIR\\${PROJECT_NAME}.exe' '' '$INSTDIR\\${PROJECT_NAME}.exe' 0")
    set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\$MUI_TEMP\\${PROJECT_NAME}.lnk'")
    set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)

    # The Windows Installer package, for Group Policy and Intune: wixl
    # builds it from the same staged files (cmake/msi_package.cmake). Both
    # architectures share one upgrade code, so a machine holds one Kalvetor:
    # either package replaces the other, and a newer one refuses an older.
    list(APPEND CPACK_GENERATOR External)
    set(CPACK_EXTERNAL_ENABLE_STAGING ON)
    set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/msi_package.cmake)
    set(CPACK_KALVETOR_MSI_SOURCE ${PROJECT_SOURCE_DIR}/cmake/msi.wxs)
    set(CPACK_KALVETOR_MSI_ICON ${KALVETOR_ICO})
    set(CPACK_KALVETOR_MSI_UPGRADE_CODE 67253C56-82AA-4E82-A2C2-95A0214C3589)
    set(CPACK_KALVETOR_MSI_ARCH ${KALVETOR_WINDOWS_ARCHITECTURE})
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME kalvetor)
    # The same directory modes whatever the umask of whoever builds the package.
    set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
        OWNER_READ OWNER_WRITE OWNER_EXECUTE
        GROUP_READ GROUP_EXECUTE
        WORLD_READ WORLD_EXECUTE)

    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION education)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
endif()

include(CPack)
