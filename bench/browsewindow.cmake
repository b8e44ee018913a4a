if(ORVO_BUILD_GUI)
    add_executable(bench_browse_window ${CMAKE_CURRENT_SOURCE_DIR}/BrowseWindowBench.cpp)
    target_link_libraries(bench_browse_window PRIVATE orvo_browse_ui Qt6::Test Qt6::Widgets)
endif()
