# Compiler settings every target of the project links through `project_options`.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE -Wall -Wextra -Wpedantic)
if(WARNINGS_AS_ERRORS)
  target_compile_options(project_options INTERFACE -Werror)
endif()
if(ENABLE_SANITIZERS)
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
  # Bounds checks on std::array and std::vector indexing: a read past a
  # member array inside a larger object is invisible to AddressSanitizer.
  target_compile_definitions(project_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()
if(ENABLE_FUZZING)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ENABLE_FUZZING needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Every library is instrumented for coverage and checked by the sanitizers, so the fuzzer is
  # guided by the parser's branches; only the fuzz targets themselves link libFuzzer's main
  # (-fsanitize=fuzzer on their own link line).
  target_compile_options(project_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
  target_compile_definitions(project_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()
