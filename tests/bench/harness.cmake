# The preloaded shim of the frame harness (scripts/bench.d/frame_bench.sh) and
# of the end-to-end tests that need to see or slow the program's timers.
add_library(frame_shim SHARED ${CMAKE_CURRENT_LIST_DIR}/shim/frame_shim.cpp)
# Plain code even in a sanitizer build: it is preloaded ahead of the program.
set_property(TARGET frame_shim PROPERTY COMPILE_OPTIONS -Wall -Wextra)
set_property(TARGET frame_shim PROPERTY LINK_OPTIONS "")
set_target_properties(frame_shim PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(frame_shim PRIVATE ${CMAKE_DL_LIBS})

# The preloaded witness of long soak runs (scripts/soak.sh): tells the heap
# the program's own code holds apart from the GL driver's.
add_library(heap_shim SHARED ${CMAKE_CURRENT_LIST_DIR}/shim/heap_shim.cpp)
set_property(TARGET heap_shim PROPERTY COMPILE_OPTIONS -Wall -Wextra)
set_property(TARGET heap_shim PROPERTY LINK_OPTIONS "")
set_target_properties(heap_shim PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(heap_shim PRIVATE ${CMAKE_DL_LIBS})
add_executable(heap_probe ${CMAKE_CURRENT_LIST_DIR}/shim/heap_probe.cpp)
target_link_libraries(heap_probe PRIVATE OpenGL::GL OpenGL::GLU)
set_target_properties(heap_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# Unoptimised, so that every allocation it makes really happens; and plain
# even in a sanitizer build, whose allocator the witness would fight.
set_property(TARGET heap_probe PROPERTY COMPILE_OPTIONS -Wall -Wextra -O0)
set_property(TARGET heap_probe PROPERTY LINK_OPTIONS "")

# The preloaded virtual game controller of the pad's end-to-end test: attached
# inside the real simulator and driven from a script.
find_package(Threads REQUIRED)
add_library(pad_shim SHARED ${CMAKE_CURRENT_LIST_DIR}/shim/pad_shim.cpp)
set_property(TARGET pad_shim PROPERTY COMPILE_OPTIONS -Wall -Wextra)
set_property(TARGET pad_shim PROPERTY LINK_OPTIONS "")
set_target_properties(pad_shim PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(pad_shim PRIVATE SDL2::SDL2 Threads::Threads ${CMAKE_DL_LIBS})
