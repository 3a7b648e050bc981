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
