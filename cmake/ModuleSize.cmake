# Build settings that keep the plug-in module small, with the same behaviour.
#
#   brisko_small_module(<module target>)
#
# Call it once every library the module links is defined (at the end of the
# top-level CMakeLists.txt). It applies:
#
# - In every build: Boost.Regex configured with the C library's character
#   classification (c_regex_traits) instead of the C++ locale's. The C++
#   traits hold a std::locale, and creating one links every standard facet
#   of libstdc++ for char and wchar_t in both string ABIs, about 800 KB of
#   code and unwind tables in the statically linked Windows module. In the
#   "C" locale both classify the same bytes (tests/regex_traits_test.cpp
#   checks every byte). The setting is on the regular-expression interface,
#   so every program that uses the library (module, tests, benchmarks, fuzz
#   targets) agrees on it.
# - In Release builds, to the module and to the static and object libraries
#   it links (directly or through other libraries): code optimised for size,
#   each function and datum in its own section so that the linker drops the
#   unused ones, and, with BRISKO_MODULE_LTO (off by default, see below), GCC
#   link-time optimisation of the module.
#
# Link-time optimisation, when on, is the module's alone: the libraries are compiled to
# objects that carry both GCC's intermediate form and ordinary code
# (-ffat-lto-objects); the module's link optimises across them, and every
# other program (tests, benchmarks) links their ordinary code (-fno-lto).
# Mixing the two forms in one link fails with mingw-w64's GCC 12 (clashing
# comdat sections, then an internal compiler error), so no other program
# is linked the optimising way.
include_guard(GLOBAL)

set(BRISKO_SIZE_OPTIMISE "-Os" CACHE STRING
    "Optimisation level of the module's code in Release builds (size settings)")
# The author's scanner walks every byte of a status: optimised for size it
# takes about twice as long, close to its limit of twice the time of a
# lower-casing copy (bench/link_finder_bench.cpp); it keeps -O2. Source file
# names, wherever they are among the module's libraries.
set(BRISKO_SPEED_SOURCES "author_scanner.cpp" CACHE STRING
    "Sources of the module optimised for speed (-O2) in Release builds")
# Off: mingw-w64's GCC 12 stops with an internal compiler error
# (binds_to_current_def_p) when it link-time optimises the module from the
# per-layer libraries; without it the module is well under 512 KiB.
option(BRISKO_MODULE_LTO "Link-time optimisation of the module in Release builds (GCC)" OFF)

if(BRISKO_MODULE_LTO AND NOT BRISKO_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(_brisko_lto ON)
  # For every target defined from here on; BRISKO_LTO marks the module.
  add_link_options(
    "$<$<CONFIG:Release>:$<IF:$<BOOL:$<TARGET_PROPERTY:BRISKO_LTO>>,-flto=auto,-fno-lto>>")
else()
  set(_brisko_lto OFF)
endif()

# The static and object libraries of this project that `target` links,
# directly or through other libraries, in link order without repeats.
function(_brisko_linked_libraries target out)
  set(seen ${${out}})
  get_target_property(direct ${target} LINK_LIBRARIES)
  get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS direct interface)
    if(NOT lib OR NOT TARGET ${lib} OR lib IN_LIST seen)
      continue()
    endif()
    get_target_property(imported ${lib} IMPORTED)
    get_target_property(type ${lib} TYPE)
    if(imported)
      continue()
    endif()
    list(APPEND seen ${lib})
    if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY"
       OR type STREQUAL "INTERFACE_LIBRARY")
      _brisko_linked_libraries(${lib} seen)
    endif()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(brisko_small_module target)
  if(TARGET brisko_boost_regex)
    target_compile_definitions(brisko_boost_regex INTERFACE BOOST_REGEX_USE_C_LOCALE)
  endif()

  set(libraries "")
  _brisko_linked_libraries(${target} libraries)
  set(compiled ${target})
  foreach(lib IN LISTS libraries)
    get_target_property(type ${lib} TYPE)
    if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY")
      list(APPEND compiled ${lib})
    endif()
  endforeach()

  set(options ${BRISKO_SIZE_OPTIMISE} -ffunction-sections -fdata-sections)
  if(_brisko_lto)
    list(APPEND options -flto=auto -ffat-lto-objects)
    set_target_properties(${target} PROPERTIES BRISKO_LTO ON)
  endif()
  set(speed_found "")
  foreach(t IN LISTS compiled)
    target_compile_options(${t} PRIVATE "$<$<CONFIG:Release>:${options}>")
    get_target_property(sources ${t} SOURCES)
    get_target_property(source_dir ${t} SOURCE_DIR)
    foreach(source IN LISTS sources)
      get_filename_component(name "${source}" NAME)
      if(name IN_LIST BRISKO_SPEED_SOURCES)
        # Source options follow the target's on the command line: -O2 wins.
        set_property(SOURCE "${source}" DIRECTORY "${source_dir}" APPEND
                     PROPERTY COMPILE_OPTIONS "$<$<CONFIG:Release>:-O2>")
        list(APPEND speed_found ${name})
      endif()
    endforeach()
  endforeach()
  foreach(name IN LISTS BRISKO_SPEED_SOURCES)
    if(NOT name IN_LIST speed_found)
      message(WARNING "BRISKO_SPEED_SOURCES names ${name}, which no library of ${target} compiles")
    endif()
  endforeach()
  target_link_options(${target} PRIVATE
                      "$<$<CONFIG:Release>:${BRISKO_SIZE_OPTIMISE};-Wl,--gc-sections>")
  message(STATUS "Brisko: size settings (link-time optimisation ${_brisko_lto}) for ${target} "
                 "and ${libraries}")
endfunction()
