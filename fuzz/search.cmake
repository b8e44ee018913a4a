orvo_add_fuzz(fuzz_search
    SOURCE ${CMAKE_SOURCE_DIR}/fuzz/SearchFuzz.cpp
    LIBS orvo_search
    CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/search)
