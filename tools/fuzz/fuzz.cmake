# Initial cache of the fuzzing build: `cmake -C tools/fuzz/fuzz.cmake -S . -B build-fuzz -G Ninja`.
# libFuzzer needs clang, and its coverage counters must be in every library a target reaches,
# so the whole tree is compiled with them and with ASan+UBSan; the fuzz targets alone link
# libFuzzer's driver. Optimised lightly and with line tables only: builds stay short and
# stacks still name source lines.
set(CMAKE_C_COMPILER clang CACHE STRING "")
set(CMAKE_CXX_COMPILER clang++ CACHE STRING "")
set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "")
set(fuzz_flags
    "-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer")
set(CMAKE_C_FLAGS "${fuzz_flags}" CACHE STRING "")
set(CMAKE_CXX_FLAGS "${fuzz_flags}" CACHE STRING "")
set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O1 -gline-tables-only" CACHE STRING "")
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -gline-tables-only" CACHE STRING "")
set(CORVANE_WITH_QT OFF CACHE BOOL "")
set(CORVANE_TESTS OFF CACHE BOOL "")
set(CORVANE_FUZZ ON CACHE BOOL "")
