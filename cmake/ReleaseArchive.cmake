# Makes the release archive at build time (target release_archive):
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DSTAGE=... -DARCHIVE=... -DPYTHON=... -P ReleaseArchive.cmake
#
# The release component is installed into STAGE (a folder named as the
# archive's top folder) and packed by reproducible_zip.py. Every entry gets
# one time: SOURCE_DATE_EPOCH when it is set (the reproducible-builds
# convention), otherwise the time of the sources' last commit, otherwise
# 1980-01-01 (a tree that is not a git checkout). So the archive of one commit
# is the same file wherever and whenever it is built.
foreach(var BUILD_DIR SOURCE_DIR STAGE ARCHIVE PYTHON)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ReleaseArchive.cmake needs -D${var}=...")
  endif()
endforeach()

if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(origin "SOURCE_DATE_EPOCH")
else()
  execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_result ERROR_QUIET)
  if(git_result EQUAL 0 AND epoch MATCHES "^[0-9]+$")
    set(origin "the last commit")
  else()
    set(epoch 315532800)
    set(origin "no commit found: 1980-01-01")
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: '${epoch}'")
endif()

file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                        --component release
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${PYTHON}" "${CMAKE_CURRENT_LIST_DIR}/reproducible_zip.py"
                        "${ARCHIVE}" "${STAGE}" "${epoch}"
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "${ARCHIVE} (entry times: ${origin}, ${epoch})")
