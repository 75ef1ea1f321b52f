# Fails on any source under SOURCE_DIR's src, sim, tests, bench, tools and fuzz folders that
# clang-format (CLANG_FORMAT, with the repository's .clang-format) would change.
cmake_minimum_required(VERSION 3.25)
set(patterns "")
foreach(folder src sim tests bench tools fuzz)
    list(APPEND patterns "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
endforeach()
file(GLOB_RECURSE sources ${patterns})
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror --style=file ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE report)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Sources that clang-format would change (clang-format -i <file>):\n"
                        "${report}")
endif()
