# The drawing program (the last argument, run by -DRUNNER) under code page 932 and another:
# the same pixels.
math(EXPR last "${CMAKE_ARGC} - 1")
set(PROGRAM "${CMAKE_ARGV${last}}")
foreach(locale ja_JP.UTF-8 C.UTF-8)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env KARVOLD_LANG=${locale} ${RUNNER} ${PROGRAM}
                    OUTPUT_VARIABLE run OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND runs "${run}")
endforeach()
if(NOT runs MATCHES "^932 ([0-9a-f]+);([0-9]+) ([0-9a-f]+)$" OR CMAKE_MATCH_2 EQUAL 932
   OR NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_3)
    message(FATAL_ERROR "code page and pixel digest of each run: ${runs}")
endif()
