# cmake -DEXPECTED=<folder> -DACTUAL=<folder> -P compare_folders.cmake
# Fails unless both folders hold the same files (relative names) with the
# same bytes, so a sample the generator adds, drops or changes is noticed.
cmake_minimum_required(VERSION 3.25)

foreach(_var EXPECTED ACTUAL)
  if(NOT IS_DIRECTORY "${${_var}}")
    message(FATAL_ERROR "${_var} is not a folder: ${${_var}}")
  endif()
endforeach()

file(GLOB_RECURSE _expected RELATIVE "${EXPECTED}" "${EXPECTED}/*")
file(GLOB_RECURSE _actual RELATIVE "${ACTUAL}" "${ACTUAL}/*")
list(SORT _expected)
list(SORT _actual)

set(_problems "")
foreach(_name IN LISTS _expected)
  if(NOT _name IN_LIST _actual)
    string(APPEND _problems "  not generated any more: ${_name}\n")
  endif()
endforeach()
foreach(_name IN LISTS _actual)
  if(NOT _name IN_LIST _expected)
    string(APPEND _problems "  generated but not committed: ${_name}\n")
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${EXPECTED}/${_name}" "${ACTUAL}/${_name}"
                    RESULT_VARIABLE _different OUTPUT_QUIET ERROR_QUIET)
    if(_different)
      string(APPEND _problems "  differs: ${_name}\n")
    endif()
  endif()
endforeach()

if(_problems)
  message(FATAL_ERROR "${EXPECTED} is not what the generator makes (${ACTUAL}):\n${_problems}"
                      "Regenerate with: make_samples <repo>/samples")
endif()
list(LENGTH _expected _count)
message(STATUS "${_count} files up to date")
