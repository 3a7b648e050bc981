# Windows resources for an executable: the version information, the icon
# and the application manifest, all from resources/kalvetor.rc.in as
# resources/CMakeLists.txt fills it in.
#
#     kalvetor_add_windows_resources(<target>)
#
# Included from the top-level CMakeLists.txt, which is where the resource
# compiler must be enabled for every directory below it.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    enable_language(RC)
endif()

# The processor the executables are for, as the application manifest names
# it (KALVETOR_MANIFEST_ARCHITECTURE) and as Windows names it to users, in
# the packages' names (KALVETOR_WINDOWS_ARCHITECTURE). A Linux build
# compiles the resources only to check them, as for x64.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows" OR CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(KALVETOR_MANIFEST_ARCHITECTURE amd64)
    set(KALVETOR_WINDOWS_ARCHITECTURE x64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^i[3-6]86$")
    set(KALVETOR_MANIFEST_ARCHITECTURE x86)
    set(KALVETOR_WINDOWS_ARCHITECTURE x86)
else()
    message(FATAL_ERROR "No Windows build for the processor ${CMAKE_SYSTEM_PROCESSOR}: x86_64 or i686")
endif()

function(kalvetor_add_windows_resources target)
    get_property(rc GLOBAL PROPERTY KALVETOR_RC)
    get_property(inputs GLOBAL PROPERTY KALVETOR_RC_INPUTS)
    if(NOT rc)
        message(FATAL_ERROR "kalvetor_add_windows_resources: resources/ has not been added yet")
    endif()
    target_sources(${target} PRIVATE ${rc})
    # windres reads the icon and the manifest named in the script; the build
    # does not see that by itself.
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS "${inputs}")
endfunction()
