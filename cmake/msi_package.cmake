# Builds the Windows Installer package <CPACK_PACKAGE_FILE_NAME>.msi with
# wixl (msitools) from the files cpack has staged, as the installer and the
# zip are built from them. cpack's External generator runs this script
# (cmake/packaging.cmake sets it up); cmake/msi.wxs describes the package.
#
# CPACK_KALVETOR_MSI_ARCH (x64 or x86) picks Program Files and the
# components' bitness; the product code follows from the upgrade code, the
# version and the architecture, so a rebuild of a release is the same
# product and each release for each architecture is a product of its own.

find_program(KALVETOR_WIXL wixl REQUIRED)
find_program(KALVETOR_WIXL_HEAT wixl-heat REQUIRED)

set(stage ${CPACK_TEMPORARY_DIRECTORY})
set(work ${CPACK_TOPLEVEL_DIRECTORY}/msi)
set(msi ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})

if(CPACK_KALVETOR_MSI_ARCH STREQUAL "x64")
    set(program_files ProgramFiles64Folder)
    set(win64 yes)
elseif(CPACK_KALVETOR_MSI_ARCH STREQUAL "x86")
    set(program_files ProgramFilesFolder)
    set(win64 no)
else()
    message(FATAL_ERROR "CPACK_KALVETOR_MSI_ARCH is '${CPACK_KALVETOR_MSI_ARCH}', not x64 or x86")
endif()

# Every staged file but the program, which msi.wxs names itself, becomes a
# component of its own in the group Texts.
file(GLOB_RECURSE texts LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)
list(REMOVE_ITEM texts ${CPACK_PACKAGE_NAME}.exe)
list(TRANSFORM texts PREPEND ./)
list(JOIN texts "\n" listing)
file(WRITE ${work}/texts.txt "${listing}\n")
execute_process(
    COMMAND ${KALVETOR_WIXL_HEAT} --prefix ./ --directory-ref INSTALLDIR --component-group Texts
            --var var.Stage --win64
    INPUT_FILE ${work}/texts.txt OUTPUT_FILE ${work}/texts.wxs
    COMMAND_ERROR_IS_FATAL ANY)
# wixl-heat names each directory at random; they are numbered in order here
# (the file list is sorted), so that every build names them alike.
file(READ ${work}/texts.wxs heat)
string(REGEX MATCHALL "Directory Id=\"dir[0-9A-F]+\"" directories "${heat}")
set(number 0)
foreach(directory IN LISTS directories)
    math(EXPR number "${number} + 1")
    string(REPLACE "${directory}" "Directory Id=\"dirTexts${number}\"" heat "${heat}")
endforeach()
file(WRITE ${work}/texts.wxs "${heat}")

string(UUID product_code NAMESPACE ${CPACK_KALVETOR_MSI_UPGRADE_CODE}
    NAME "${CPACK_PACKAGE_VERSION} ${CPACK_KALVETOR_MSI_ARCH}" TYPE SHA1 UPPER)
# The package code, which names one MSI file, follows from everything the
# file is made of, where wixl draws a new one at random each time (and
# takes none from msi.wxs): it is set afterwards, with msibuild.
set(made_of "${product_code}\n")
file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)
foreach(file IN LISTS staged)
    file(SHA256 ${stage}/${file} sum)
    string(APPEND made_of "${file} ${sum}\n")
endforeach()
foreach(file IN ITEMS ${CPACK_KALVETOR_MSI_SOURCE} ${CPACK_KALVETOR_MSI_ICON})
    file(SHA256 ${file} sum)
    string(APPEND made_of "${sum}\n")
endforeach()
string(UUID package_code NAMESPACE ${CPACK_KALVETOR_MSI_UPGRADE_CODE} NAME "${made_of}" TYPE SHA1 UPPER)
# wixl writes the time it runs at into the package's summary (Created, Last
# saved) and has no setting for it: it runs under libfaketime with its clock
# stopped at SOURCE_DATE_EPOCH (cmake/cpack_project_config.cmake).
find_program(KALVETOR_FAKETIME faketime REQUIRED)
find_program(KALVETOR_MSIBUILD msibuild REQUIRED)
find_program(KALVETOR_MSIINFO msiinfo REQUIRED)
# -f with a date alone stops the clock there; without -f it would only start
# there and run on, so that a slow second could show.
set(at_source_date ${CMAKE_COMMAND} -E env TZ=UTC ${KALVETOR_FAKETIME} -f)
execute_process(COMMAND date -u -d @$ENV{SOURCE_DATE_EPOCH} "+%Y-%m-%d %H:%M:%S"
    OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
# wixl takes no absolute paths to the files it packs: they are given
# relative to the staged tree, where it runs.
file(RELATIVE_PATH icon ${stage} ${CPACK_KALVETOR_MSI_ICON})
execute_process(
    COMMAND ${at_source_date} "${source_date}" ${KALVETOR_WIXL} --arch ${CPACK_KALVETOR_MSI_ARCH}
            -D Name=${CPACK_PACKAGE_NAME}
            -D Version=${CPACK_PACKAGE_VERSION}
            -D Publisher=${CPACK_PACKAGE_VENDOR}
            -D Summary=${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
            -D Homepage=${CPACK_PACKAGE_HOMEPAGE_URL}
            -D ProductCode=${product_code}
            -D UpgradeCode=${CPACK_KALVETOR_MSI_UPGRADE_CODE}
            -D ProgramFilesFolder=${program_files}
            -D Win64=${win64}
            -D Icon=${icon}
            -D Stage=.
            -o ${msi} ${CPACK_KALVETOR_MSI_SOURCE} ${work}/texts.wxs
    WORKING_DIRECTORY ${stage}
    COMMAND_ERROR_IS_FATAL ANY)

# msibuild sets the summary's subject, author and template with the
# package code: the first three as wixl wrote them.
execute_process(COMMAND ${KALVETOR_MSIINFO} suminfo ${msi} OUTPUT_VARIABLE summary COMMAND_ERROR_IS_FATAL ANY)
foreach(field IN ITEMS Subject Author Template)
    if(NOT summary MATCHES "\n${field}: ([^\n]*)\n")
        message(FATAL_ERROR "no ${field} in the summary of ${msi}:\n${summary}")
    endif()
    set(${field} "${CMAKE_MATCH_1}")
endforeach()
execute_process(
    COMMAND ${at_source_date} "${source_date}" ${KALVETOR_MSIBUILD} ${msi}
            -s "${Subject}" "${Author}" "${Template}" "{${package_code}}"
    COMMAND_ERROR_IS_FATAL ANY)

set(CPACK_EXTERNAL_BUILT_PACKAGES ${msi})
