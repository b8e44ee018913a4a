orvo_add_fuzz(fuzz_comments
    SOURCE ${CMAKE_SOURCE_DIR}/tests/browse/CommentFileFuzz.cpp
    LIBS orvo_browse
    CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/comments)
