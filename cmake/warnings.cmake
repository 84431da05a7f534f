# Warnings are errors on every target of ours; third-party code (GoogleTest) keeps its own flags.
function(karvold_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
        -Wnon-virtual-dtor -Wcast-align
        -Wimplicit-fallthrough -Werror)
endfunction()
