# Runs the drawing program under Wine with a Japanese and with a UTF-8 C locale, that is with
# ANSI code page 932 and another one, and requires the two bitmaps to be identical.
# -DRUNNER=tools/wine-run -DPROGRAM=code_page_drawing.exe -DWORK=folder
foreach(locale ja_JP.UTF-8 C.UTF-8)
    set(bitmap ${WORK}/code_page_drawing-${locale}.bmp)
    file(REMOVE ${bitmap})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env KARVOLD_LANG=${locale}
                            ${RUNNER} ${PROGRAM} ${bitmap}
                    OUTPUT_VARIABLE codePage OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "drawing under ${locale} failed: ${result}")
    endif()
    list(APPEND codePages ${codePage})
    list(APPEND bitmaps ${bitmap})
endforeach()
list(GET codePages 0 japanese)
list(GET codePages 1 other)
if(NOT japanese STREQUAL "932" OR other STREQUAL "932")
    message(FATAL_ERROR "the runs did not get code pages 932 and another: ${codePages}")
endif()
list(GET bitmaps 0 expected)
list(GET bitmaps 1 actual)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected} ${actual}
                RESULT_VARIABLE differ)
if(differ)
    message(FATAL_ERROR "the drawing under code page ${other} differs from 932's: "
                        "compare ${expected} and ${actual}")
endif()
message(STATUS "identical drawings under code pages ${codePages}")
