# Build settings that make the plug-in module depend on its sources alone:
# the same commit gives a byte-identical module in any folder, at any time.
#
#   brisko_reproducible_module(<module target>)
#
# Call it once every library the module links is defined. It applies:
#
# - to the module and to the project's libraries it links: source and build
#   folders mapped to relative names in everything the compiler writes
#   (__FILE__ in assertions and exceptions, debug information), so that no
#   absolute path of the build machine reaches the file;
# - to a Windows module's link: no time stamp in the PE header (the field is
#   then zero).
#
# The release archive is made reproducible by cmake/ReleaseArchive.cmake.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/ModuleSize.cmake)  # _brisko_linked_libraries

function(brisko_reproducible_module target)
  set(libraries "")
  _brisko_linked_libraries(${target} libraries)
  foreach(t IN ITEMS ${target} ${libraries})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY"
       OR type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      target_compile_options(${t} PRIVATE "-ffile-prefix-map=${CMAKE_SOURCE_DIR}/="
                                          "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
    endif()
  endforeach()
  if(BRISKO_WINDOWS)
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
  endif()
endfunction()
