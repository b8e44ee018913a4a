add_executable(bench_settings ${CMAKE_CURRENT_SOURCE_DIR}/SettingsBench.cpp)
target_link_libraries(bench_settings PRIVATE orvo_settings benchmark::benchmark)
