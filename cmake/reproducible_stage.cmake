# Run by cpack on the staged files before it packs them
# (CPACK_PRE_BUILD_SCRIPTS): each takes the time SOURCE_DATE_EPOCH gives
# (cmake/cpack_project_config.cmake) in place of when it was built or
# checked out, so that the installer and the MSI, which keep file times,
# come out the same from every build of one commit.
execute_process(
    COMMAND find ${CPACK_TEMPORARY_DIRECTORY} -exec touch -h -d @$ENV{SOURCE_DATE_EPOCH} {} +
    COMMAND_ERROR_IS_FATAL ANY)
