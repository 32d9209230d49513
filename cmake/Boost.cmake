# Boost.Regex is header-only in 1.81. The Windows build must not see the rest
# of the Linux system headers, so only the boost/ tree is exposed, through a
# folder of the build that holds nothing but a link to it.
set(BRISKO_BOOST_ROOT "/usr/include" CACHE PATH "Folder that holds the boost/ headers")
if(NOT EXISTS "${BRISKO_BOOST_ROOT}/boost/regex.hpp")
  message(FATAL_ERROR "Boost.Regex headers not found under ${BRISKO_BOOST_ROOT}; run tools/setup.sh")
endif()
set(_boost_stage "${CMAKE_BINARY_DIR}/boost-headers")
file(MAKE_DIRECTORY "${_boost_stage}")
if(NOT EXISTS "${_boost_stage}/boost")
  file(CREATE_LINK "${BRISKO_BOOST_ROOT}/boost" "${_boost_stage}/boost" SYMBOLIC)
endif()
add_library(brisko_boost_regex INTERFACE)
target_include_directories(brisko_boost_regex SYSTEM INTERFACE "${_boost_stage}")
target_compile_definitions(brisko_boost_regex INTERFACE BOOST_REGEX_NO_LIB BOOST_ALL_NO_LIB)
# The Windows target's compilers use the win32 threading model, whose C++
# library has no std::mutex; the plug-in runs on the host's thread alone.
# Boost.Regex is built without threads, and with the same engine as every
# other build (cmake/boost_win32_stdlib.hpp says why).
if(BRISKO_WINDOWS)
  target_compile_definitions(
    brisko_boost_regex INTERFACE BOOST_DISABLE_THREADS
    "BOOST_STDLIB_CONFIG=\"${CMAKE_CURRENT_LIST_DIR}/boost_win32_stdlib.hpp\"")
endif()
