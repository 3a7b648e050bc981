# Included by cpack before each generator runs (CPACK_PROJECT_CONFIG_FILE).
# The packages take their times from SOURCE_DATE_EPOCH: the time of the
# sources' last commit, unless the environment gives one. cpack's zip reads
# it, cmake/reproducible_stage.cmake gives it to the staged files, and
# cmake/msi_package.cmake to the MSI.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(
        COMMAND git -C ${CPACK_KALVETOR_SOURCE_DIR} log -1 --format=%ct
        OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE failed ERROR_QUIET)
    if(failed OR NOT epoch)
        message(FATAL_ERROR "${CPACK_KALVETOR_SOURCE_DIR} is no git checkout: set SOURCE_DATE_EPOCH "
            "to the time of its sources (seconds since 1970) for the packages' file times")
    endif()
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
# A zip keeps each file's time as a local time as well: UTC for everyone.
set(ENV{TZ} UTC)
