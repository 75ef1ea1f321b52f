# vorle6-cli: installed beside vorle6 in the program folder (it finds vorle6.ini there), with a
# launcher in bin/, its manual page and its bash completion. Included by CMakeLists.txt here.
install(TARGETS vorle6-cli RUNTIME DESTINATION ${VORLE_PROGRAM_DIR})
set(cli_link ${CMAKE_CURRENT_BINARY_DIR}/bin/vorle6-cli)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/bin)
file(REMOVE ${cli_link})
file(CREATE_LINK ../${VORLE_PROGRAM_DIR}/vorle6-cli ${cli_link} SYMBOLIC)
install(FILES ${cli_link} DESTINATION bin)

# Manual pages go compressed, without a time stamp in the gzip header (-n).
set(cli_manual ${CMAKE_CURRENT_BINARY_DIR}/vorle6-cli.1.gz)
add_custom_command(OUTPUT ${cli_manual}
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/vorle6-cli.1 > ${cli_manual}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/vorle6-cli.1
    COMMENT "Compressing the manual page of vorle6-cli")
add_custom_target(vorle6-cli-manual ALL DEPENDS ${cli_manual})
install(FILES ${cli_manual} DESTINATION share/man/man1)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/vorle6-cli.bash-completion
        DESTINATION share/bash-completion/completions RENAME vorle6-cli)

string(APPEND CPACK_PACKAGE_DESCRIPTION
    "\nvorle6-cli reads, writes and verifies from scripts, on several boards at once.")
