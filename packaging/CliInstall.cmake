# vorle6-cli: installed beside vorle6 in the program folder (it finds vorle6.ini there), with a
# launcher in bin/, its manual page and its bash completion. Included by CMakeLists.txt here.
install(TARGETS vorle6-cli RUNTIME DESTINATION ${VORLE_PROGRAM_DIR})
set(cli_link ${CMAKE_CURRENT_BINARY_DIR}/bin/vorle6-cli)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/bin)
file(REMOVE ${cli_link})
file(CREATE_LINK ../${VORLE_PROGRAM_DIR}/vorle6-cli ${cli_link} SYMBOLIC)
install(FILES ${cli_link} DESTINATION bin)

vorle_install_manual_page(vorle6-cli.1)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/vorle6-cli.bash-completion
        DESTINATION share/bash-completion/completions RENAME vorle6-cli)
