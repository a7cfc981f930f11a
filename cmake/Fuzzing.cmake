# Fuzz builds: clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer. The
# core is instrumented for coverage (fuzzer-no-link); only the fuzz targets link the fuzzer's
# main. Undefined behaviour stops the run like a crash does, so it is reported, not logged.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PORTIQA_FUZZ needs clang (CC=clang-14 CXX=clang++-14)")
endif()
set(PORTIQA_SANITIZERS address,undefined)
add_compile_options(-fsanitize=fuzzer-no-link,${PORTIQA_SANITIZERS}
                    -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=${PORTIQA_SANITIZERS})
