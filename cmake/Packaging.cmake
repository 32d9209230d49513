# The release archive, made by CPack's ZIP generator (Windows builds):
#
#   Brisko-<version>-win32.zip
#     Brisko-<version>-win32/Brisko.dll
#                            INSTRUKCJA.txt, GUIDE.txt     user guide, Polish and English
#                            LICENSE.txt                   the project's licence (MIT)
#                            licenses/                     licences of the code linked in
#                            SHA256SUMS                    checksums of the files above
#
# The version is the project's (the one place it is written). The guides are
# UTF-8 with a byte order mark and Windows line ends, so that Notepad shows
# the Polish letters. tools/main.sh runs CPack and puts the archive in dist/.
include_guard(GLOBAL)

if(NOT BRISKO_WINDOWS)
  return()
endif()

set(_brisko_release_dir "${CMAKE_SOURCE_DIR}/release")
set(_brisko_guides "${CMAKE_BINARY_DIR}/release")
configure_file("${_brisko_release_dir}/guide-pl.txt.in" "${_brisko_guides}/INSTRUKCJA.txt" @ONLY
               NEWLINE_STYLE CRLF)
configure_file("${_brisko_release_dir}/guide-en.txt.in" "${_brisko_guides}/GUIDE.txt" @ONLY
               NEWLINE_STYLE CRLF)
configure_file("${CMAKE_SOURCE_DIR}/LICENSE" "${_brisko_guides}/LICENSE.txt" @ONLY
               NEWLINE_STYLE CRLF)
file(GLOB _brisko_licenses CONFIGURE_DEPENDS "${_brisko_release_dir}/licenses/*.txt")
set(_brisko_license_copies "")
foreach(license IN LISTS _brisko_licenses)
  get_filename_component(name "${license}" NAME)
  configure_file("${license}" "${_brisko_guides}/licenses/${name}" @ONLY NEWLINE_STYLE CRLF)
  list(APPEND _brisko_license_copies "${_brisko_guides}/licenses/${name}")
endforeach()

install(FILES $<TARGET_FILE:Brisko> DESTINATION .)  # the module alone, no import library
install(FILES "${_brisko_guides}/INSTRUKCJA.txt" "${_brisko_guides}/GUIDE.txt"
              "${_brisko_guides}/LICENSE.txt" DESTINATION .)
install(FILES ${_brisko_license_copies} DESTINATION licenses)
# Last: the checksums of everything installed before it.
install(CODE [[
  set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  file(GLOB_RECURSE files RELATIVE "${root}" "${root}/*")
  list(REMOVE_ITEM files SHA256SUMS)
  list(SORT files)
  set(sums "")
  foreach(file IN LISTS files)
    file(SHA256 "${root}/${file}" sum)
    string(APPEND sums "${sum} *${file}\n")
  endforeach()
  file(WRITE "${root}/SHA256SUMS" "${sums}")
]])

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Brisko)
set(CPACK_PACKAGE_VENDOR "the Brisko developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "Brisko-${PROJECT_VERSION}-win32")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES OFF)  # the Release module is linked stripped already
include(CPack)
