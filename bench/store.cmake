add_executable(bench_store ${CMAKE_CURRENT_SOURCE_DIR}/StoreBench.cpp)
target_link_libraries(bench_store PRIVATE orvo_store benchmark::benchmark)
