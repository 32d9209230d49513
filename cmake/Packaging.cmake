# The release archive (Windows builds), made by the target release_archive:
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
# the Polish letters. The archive is reproducible (cmake/ReleaseArchive.cmake):
# the same commit gives the same bytes wherever and whenever it is built.
# tools/main.sh builds it and puts it in dist/.
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

install(FILES $<TARGET_FILE:Brisko> DESTINATION . COMPONENT release)  # the module alone
install(FILES "${_brisko_guides}/INSTRUKCJA.txt" "${_brisko_guides}/GUIDE.txt"
              "${_brisko_guides}/LICENSE.txt" DESTINATION . COMPONENT release)
install(FILES ${_brisko_license_copies} DESTINATION licenses COMPONENT release)
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
]] COMPONENT release)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(BRISKO_ARCHIVE_NAME "Brisko-${PROJECT_VERSION}-win32")
set(BRISKO_ARCHIVE "${CMAKE_BINARY_DIR}/package/${BRISKO_ARCHIVE_NAME}.zip")
add_custom_target(release_archive
  COMMAND "${CMAKE_COMMAND}" -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
          -DSTAGE=${CMAKE_BINARY_DIR}/package/${BRISKO_ARCHIVE_NAME} -DARCHIVE=${BRISKO_ARCHIVE}
          -DPYTHON=${Python3_EXECUTABLE} -P "${CMAKE_SOURCE_DIR}/cmake/ReleaseArchive.cmake"
  DEPENDS Brisko
  COMMENT "Packing ${BRISKO_ARCHIVE_NAME}.zip"
  VERBATIM)
