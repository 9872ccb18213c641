# Warnings for our own targets only; third-party headers stay quiet.
function(ludra_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
    if(LUDRA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
