if(ORVO_BUILD_GUI)
    add_executable(bench_thumbnail_window ${CMAKE_CURRENT_SOURCE_DIR}/ThumbnailWindowBench.cpp)
    target_link_libraries(bench_thumbnail_window PRIVATE orvo_browse_ui Qt6::Widgets)
endif()
