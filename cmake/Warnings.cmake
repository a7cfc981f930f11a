# Every target of ours builds with the same warnings; the build is kept clean of them.
function(portiqa_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                                             -Wnon-virtual-dtor -Woverloaded-virtual)
endfunction()
