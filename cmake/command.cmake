# corvanta_command(NAME): a command of the program, built into the build folder and installed
# with its manual page, configured from NAME.1.in of the current source folder.
include(GNUInstallDirs)
function(corvanta_command name)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    configure_file(${name}.1.in ${name}.1 @ONLY)
    corvanta_gzipped(${name} ${name}.1)
    install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
