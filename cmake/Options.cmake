# Compiler settings shared by every target of ours.
add_library(quill_options INTERFACE)
target_compile_options(quill_options INTERFACE -Wall -Wextra -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 at -O3 reports overlapping copies inside the standard library's
  # own string code (a known false positive of -Wrestrict).
  target_compile_options(quill_options INTERFACE -Wno-restrict)
endif()
target_include_directories(quill_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(WIN32)
  # Wide-character API throughout; Windows 7 is the oldest system targeted.
  target_compile_definitions(quill_options INTERFACE
    UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)
  # One self-contained executable: no mingw runtime DLLs to ship beside it.
  target_link_options(quill_options INTERFACE -static -static-libgcc -static-libstdc++)
  # The release program carries no symbols: people run it, debuggers do not.
  target_link_options(quill_options INTERFACE $<$<CONFIG:Release>:-s>)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # SSE2 is required: the 32-bit program runs the same vector paths that the
    # native tests, fuzzers and benchmarks exercise. Arithmetic stays on the
    # x87 unit (GCC's default here), whose 80-bit long double the colour
    # reduction needs; the imaging tests' fixed outputs, run in this build
    # too, hold it to the same results.
    target_compile_options(quill_options INTERFACE -msse2)
  endif()
endif()

if(QUILL_SANITIZE)
  target_compile_options(quill_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(quill_options INTERFACE -fsanitize=address,undefined)
endif()
