orvo_add_fuzz(fuzz_comments
    SOURCE ${CMAKE_SOURCE_DIR}/tests/comments/CommentFileFuzz.cpp
    LIBS orvo_comments
    CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/comments)
