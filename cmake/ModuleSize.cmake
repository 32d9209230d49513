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
#   unused ones, and link-time optimisation where the compiler supports it.
include_guard(GLOBAL)
include(CheckIPOSupported)

set(BRISKO_SIZE_OPTIMISE "-Os" CACHE STRING
    "Optimisation level of the module's code in Release builds (size settings)")

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

  set(release "$<CONFIG:Release>")
  foreach(t IN LISTS compiled)
    target_compile_options(${t} PRIVATE
                           "$<${release}:${BRISKO_SIZE_OPTIMISE};-ffunction-sections;-fdata-sections>")
  endforeach()
  target_link_options(${target} PRIVATE "$<${release}:${BRISKO_SIZE_OPTIMISE};-Wl,--gc-sections>")

  # Sanitizer builds keep their instrumentation whole: no link-time optimisation.
  if(NOT BRISKO_SANITIZE)
    check_ipo_supported(RESULT ipo OUTPUT ipo_output LANGUAGES CXX)
    if(ipo)
      set_target_properties(${compiled} PROPERTIES INTERPROCEDURAL_OPTIMIZATION_RELEASE ON)
    else()
      message(STATUS "Brisko: no link-time optimisation (${ipo_output})")
    endif()
  endif()
  message(STATUS "Brisko: size settings for ${target} and ${libraries}")
endfunction()
