# Fails when a file of FOLDER (under SOURCE_DIR) includes a project header from a folder that is
# not in ALLOWED (a ;-list of folder names; the folder itself is always allowed), so an include
# that runs up the layers is caught before the folders become libraries of their own. ALLOWED
# may also be given with commas.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" ALLOWED "${ALLOWED}")
file(GLOB_RECURSE sources "${SOURCE_DIR}/${FOLDER}/*.h" "${SOURCE_DIR}/${FOLDER}/*.cpp")
set(offenders "")
foreach(source IN LISTS sources)
    file(STRINGS "${source}" lines REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" included "${line}")
        if(NOT included STREQUAL FOLDER AND NOT included IN_LIST ALLOWED)
            list(APPEND offenders "${source}: ${line}")
        endif()
    endforeach()
endforeach()
if(offenders)
    message(FATAL_ERROR "${FOLDER}/ may include only ${ALLOWED}:\n${offenders}")
endif()
