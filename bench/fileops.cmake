# The tree the file-operation benchmark (run-fileops.sh) works on.
add_executable(bench_fileops_corpus ${CMAKE_CURRENT_SOURCE_DIR}/FileOpsCorpus.cpp)
target_link_libraries(bench_fileops_corpus PRIVATE orvo_fileops)
