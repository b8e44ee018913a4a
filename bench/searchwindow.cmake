if(ORVO_BUILD_GUI)
    add_executable(bench_search_window ${CMAKE_CURRENT_SOURCE_DIR}/SearchWindowBench.cpp)
    target_link_libraries(bench_search_window PRIVATE orvo_search_ui Qt6::Test Qt6::Widgets)
endif()
