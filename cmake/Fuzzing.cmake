# add_fuzz_target(NAME
#   SOURCES files...     the target's sources
#   LIBRARIES libs...    what it links besides project_options
#   SEED_WRITER tool     an executable of ours that writes the seed corpus into the folder it is given
#   [DICTIONARY file])   a libFuzzer dictionary, put beside the target as <NAME>.dict
# The seeds go to ${PROJECT_BINARY_DIR}/fuzz/corpus/<NAME>/ at build time; scripts/test runs every
# *_fuzz target on a copy of that folder, with the dictionary when there is one.
function(add_fuzz_target name)
  cmake_parse_arguments(PARSE_ARGV 1 FUZZ "" "SEED_WRITER;DICTIONARY" "SOURCES;LIBRARIES")
  add_executable(${name} ${FUZZ_SOURCES})
  target_link_libraries(${name} PRIVATE ${FUZZ_LIBRARIES} project_options)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)

  set(seed_dir ${PROJECT_BINARY_DIR}/fuzz/corpus/${name})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}_seeds.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${FUZZ_SEED_WRITER} ${seed_dir}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${FUZZ_SEED_WRITER}
    COMMENT "Writing the seed corpus of ${name}"
    VERBATIM)
  add_custom_target(${name}_seeds ALL DEPENDS ${stamp})
  add_dependencies(${name} ${name}_seeds)

  if(FUZZ_DICTIONARY)
    add_custom_command(
      TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy ${FUZZ_DICTIONARY} $<TARGET_FILE:${name}>.dict
      VERBATIM)
  endif()
endfunction()
