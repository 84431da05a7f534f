# Native benchmarks: Google Benchmark, GMP for the rational peer, libgcc's decimal floats.
find_package(benchmark REQUIRED)
find_path(GMP_INCLUDE_DIR gmp.h REQUIRED)
find_library(GMP_LIBRARY gmp REQUIRED)

add_library(karvold_bench_peers STATIC
    peers/decimal64_peer.cpp
    peers/rational_peer.cpp
    peers/digit_text.cpp
    operands.cpp)
target_include_directories(karvold_bench_peers PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${GMP_INCLUDE_DIR})
target_link_libraries(karvold_bench_peers PUBLIC karvold_decimal ${GMP_LIBRARY})
karvold_warnings(karvold_bench_peers)

add_executable(decimal_bench decimal_bench.cpp agreement.cpp)
target_link_libraries(decimal_bench PRIVATE karvold_bench_peers benchmark::benchmark)
karvold_warnings(decimal_bench)

add_executable(engine_bench engine_bench.cpp)
target_link_libraries(engine_bench PRIVATE karvold_memory_platform benchmark::benchmark)
karvold_warnings(engine_bench)

# Instruction counts per operation under callgrind (see its header).
add_executable(op_profile op_profile.cpp operands.cpp)
target_include_directories(op_profile PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(op_profile PRIVATE karvold_decimal)
karvold_warnings(op_profile)
