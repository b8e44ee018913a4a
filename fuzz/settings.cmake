orvo_add_fuzz(fuzz_settings
    SOURCE ${CMAKE_SOURCE_DIR}/fuzz/SettingsFuzz.cpp
    LIBS orvo_settings
    CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/settings)
