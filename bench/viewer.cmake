if(ORVO_BUILD_GUI)
    add_executable(bench_viewer ${CMAKE_CURRENT_SOURCE_DIR}/ViewerBench.cpp)
    target_link_libraries(bench_viewer PRIVATE orvo_viewers_ui Qt6::Widgets)
endif()
