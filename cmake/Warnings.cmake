# Every target of ours builds with the same warnings; the build is kept clean of them.
function(portiqa_warnings target)
    # clang (the fuzz build) spells gcc's -Wshadow=local differently.
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        set(shadow -Wshadow-uncaptured-local)
    else()
        set(shadow -Wshadow=local)
    endif()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic ${shadow}
                                             -Wnon-virtual-dtor -Woverloaded-virtual)
endfunction()
