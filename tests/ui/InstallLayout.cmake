# Installs the build into a fresh prefix, checks the layout, and starts the installed program
# through its launcher from another folder (offscreen). The program runs until it is closed, so
# a program still running at the time-out, having read its data file, is a good start.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DHELP_FILE=... -DENGLISH_HELP_FILE=... -DWITH_SIM=0|1
#         -P InstallLayout.cmake
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/config ${WORK_DIR}/runtime)
file(CHMOD ${WORK_DIR}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()

set(expected
    bin/vorle6
    lib/vorle6/vorle6
    lib/vorle6/vorle6.ini
    lib/vorle6/${HELP_FILE}
    lib/vorle6/${ENGLISH_HELP_FILE}
    lib/vorle6/translations/vorle6_en.qm
    share/applications/example.vorle.vorle6.desktop
    share/metainfo/example.vorle.vorle6.metainfo.xml
    share/mime/packages/example.vorle.vorle6.xml
    share/icons/hicolor/16x16/apps/example.vorle.vorle6.png
    share/icons/hicolor/256x256/apps/example.vorle.vorle6.png
    share/man/man1/vorle6.1.gz
    share/doc/vorle6/copyright
    share/doc/vorle6/changelog.gz
    bin/vorle6-cli
    lib/vorle6/vorle6-cli
    share/man/man1/vorle6-cli.1.gz
    share/bash-completion/completions/vorle6-cli)
set(launchers bin/vorle6 bin/vorle6-cli)
if(WITH_SIM)
    list(APPEND expected lib/vorle6/qzpgm-sim bin/qzpgm-sim share/man/man1/qzpgm-sim.1.gz)
    list(APPEND launchers bin/qzpgm-sim)
endif()
foreach(file IN LISTS expected)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
foreach(launcher IN LISTS launchers)
    if(NOT IS_SYMLINK ${prefix}/${launcher})
        message(FATAL_ERROR "${launcher} is not a link into the program folder")
    endif()
endforeach()

# The command-line program finds vorle6.ini beside itself through its launcher, and its bash
# completion offers the part names it lists.
execute_process(COMMAND ${prefix}/bin/vorle6-cli list WORKING_DIRECTORY ${WORK_DIR} TIMEOUT 20
                RESULT_VARIABLE result OUTPUT_VARIABLE parts ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT parts MATCHES "AT93C66 +Microwire")
    message(FATAL_ERROR "the installed vorle6-cli did not list the parts: ${result}\n${errors}")
endif()
execute_process(COMMAND bash -c
        "source \"$1\" && COMP_WORDS=(\"$2\" read -d at93c6) COMP_CWORD=3 && _vorle6_cli; echo \"\${COMPREPLY[*]}\""
        completion ${prefix}/share/bash-completion/completions/vorle6-cli ${prefix}/bin/vorle6-cli
    TIMEOUT 20 RESULT_VARIABLE result OUTPUT_VARIABLE completed ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT completed MATCHES "^AT93C66\n$")
    message(FATAL_ERROR "the bash completion of vorle6-cli gave '${completed}': ${errors}")
endif()

set(ENV{XDG_CONFIG_HOME} ${WORK_DIR}/config)
set(ENV{XDG_RUNTIME_DIR} ${WORK_DIR}/runtime)
set(ENV{XDG_CACHE_HOME} ${WORK_DIR}/cache)
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${prefix}/bin/vorle6 WORKING_DIRECTORY ${WORK_DIR} TIMEOUT 8
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result MATCHES "timeout")
    message(FATAL_ERROR "the installed program ended at once: ${result}")
endif()
# The first device selection stores its index: the program found vorle6.ini beside itself.
if(NOT EXISTS ${WORK_DIR}/config/VORLE/VORLE.conf)
    message(FATAL_ERROR "the installed program stored no settings")
endif()
file(READ ${WORK_DIR}/config/VORLE/VORLE.conf settings)
if(NOT settings MATCHES "DUT=0")
    message(FATAL_ERROR "the installed program selected no device:\n${settings}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
