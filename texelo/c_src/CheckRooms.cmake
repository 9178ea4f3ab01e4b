cmake_minimum_required(VERSION 3.25)
# Fails when a file of the engine includes a header of a room it may not use:
# every room sees only itself and the rooms below it, so no stage below the
# script ever sees the script state. Run as: cmake -DENGINE=<c_src> -P CheckRooms.cmake
set(allowed_report report)
set(allowed_files files)
set(allowed_image image report files)
set(allowed_convert convert image report files)
set(allowed_vram vram convert image report files)
set(allowed_backdrop backdrop convert image report files)
set(allowed_script script vram backdrop convert image report files)
set(rooms report files image convert vram backdrop script)

set(broken "")
foreach(room IN LISTS rooms)
  file(GLOB sources "${ENGINE}/${room}/*.h" "${ENGINE}/${room}/*.cpp")
  foreach(source IN LISTS sources)
    # Blanks may stand after '#' and before the name, and a path may climb
    # out of its room first ("../script/...").
    file(STRINGS "${source}" includes REGEX "^#[ \t]*include[ \t]*\"(\\.\\./)*[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#[ \t]*include[ \t]*\"(\\.\\./)*([a-z]+)/.*" "\\2" used "${line}")
      if(used IN_LIST rooms AND NOT used IN_LIST allowed_${room})
        file(RELATIVE_PATH name "${ENGINE}" "${source}")
        list(APPEND broken "${name} (room ${room}) includes ${used}/")
      endif()
    endforeach()
  endforeach()
endforeach()

if(broken)
  list(JOIN broken "\n  " text)
  message(FATAL_ERROR "Engine rooms used against their order:\n  ${text}")
endif()
message(STATUS "Every engine room includes only itself and the rooms below it")
