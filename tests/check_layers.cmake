# Checks that the plug-in's layers include only their own headers and those of
# the layers below them (bottom to top: host, links, system, settings, menu,
# plugin), and nothing of the emulator, the tests, the fuzzers or the
# benchmarks.   cmake -DSOURCE_DIR=<repository> -P check_layers.cmake
set(layers host links system settings menu plugin)
set(beside emulator tests fuzz bench resources)

set(faults 0)
set(index 0)
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp"
       "${SOURCE_DIR}/${layer}/*.h.in")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      string(REGEX MATCH "^[^/]+" folder "${header}")
      list(FIND layers "${folder}" folder_index)
      list(FIND beside "${folder}" beside_index)
      file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
      if(folder_index GREATER index)
        message(SEND_ERROR "${name} includes ${header}: ${folder}/ is above ${layer}/")
        math(EXPR faults "${faults} + 1")
      elseif(beside_index GREATER -1)
        message(SEND_ERROR "${name} includes ${header}: ${folder}/ is not part of the plug-in")
        math(EXPR faults "${faults} + 1")
      endif()
    endforeach()
  endforeach()
  math(EXPR index "${index} + 1")
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) against the layers")
endif()
message(STATUS "layers: every include goes down or stays in its layer")
