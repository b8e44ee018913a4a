orvo_add_fuzz(fuzz_archive
    SOURCE ${CMAKE_SOURCE_DIR}/fuzz/ArchiveFuzz.cpp
    LIBS orvo_store
    CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/archive)
