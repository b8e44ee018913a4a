if(ORVO_BUILD_GUI)
    add_executable(bench_directory_watch ${CMAKE_CURRENT_SOURCE_DIR}/DirectoryWatchBench.cpp)
    target_link_libraries(bench_directory_watch PRIVATE orvo_browse_ui Qt6::Widgets)
endif()
