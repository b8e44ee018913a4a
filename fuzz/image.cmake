# One target per format reader, and one for the whole loader with its
# retry in every format.
foreach(target IN ITEMS bmp:0 gif:1 ico:4 jpeg:2 png:3 tiff:5 load:-1)
    string(REPLACE ":" ";" parts ${target})
    list(GET parts 0 name)
    list(GET parts 1 format)
    orvo_add_fuzz(fuzz_image_${name}
        SOURCE ${CMAKE_SOURCE_DIR}/fuzz/ImageFuzz.cpp
        LIBS orvo_image
        CORPUS ${CMAKE_SOURCE_DIR}/fuzz/corpus/image-${name})
    foreach(exe IN ITEMS fuzz_image_${name}_replay fuzz_image_${name})
        if(TARGET ${exe})
            target_compile_definitions(${exe} PRIVATE ORVO_FUZZ_FORMAT=${format})
        endif()
    endforeach()
endforeach()
# Files that once broke a reader are replayed through the whole loader too.
add_test(NAME fuzz_image_malformed COMMAND fuzz_image_load_replay
         ${CMAKE_SOURCE_DIR}/tests/data/image/malformed)
set_tests_properties(fuzz_image_malformed PROPERTIES LABELS "core;fuzz")
