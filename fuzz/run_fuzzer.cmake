# Runs one libFuzzer program on the seed corpus. Inputs: PROGRAM, CORPUS, MODE.
#   MODE=replay: runs every seed once.
#   MODE=fuzz:   fuzzes for SECONDS seconds (inputs up to MAX_LEN bytes, the
#                random seed SEED, 0 or unset for one the fuzzer picks),
#                starting from the seeds and writing what it finds to a fresh
#                folder WORK, so the checked-in corpus never changes.
#   Both modes: RSS_LIMIT_MB (default 2048) is passed as -rss_limit_mb; 0
#   keeps the fuzzer to one thread (see fuzz/CMakeLists.txt).
# The seeds are named one by one (-seed_inputs), not read from their folder:
# the fuzzer's folder listing fails for 32-bit programs on some file systems.
file(GLOB seeds LIST_DIRECTORIES false "${CORPUS}/*")
if(NOT seeds)
  message(FATAL_ERROR "no seed inputs in ${CORPUS}")
endif()

if(NOT DEFINED RSS_LIMIT_MB)
  set(RSS_LIMIT_MB 2048)
endif()

if(MODE STREQUAL "replay")
  execute_process(COMMAND "${PROGRAM}" -runs=0 -rss_limit_mb=${RSS_LIMIT_MB} ${seeds}
                  RESULT_VARIABLE result)
else()
  file(REMOVE_RECURSE "${WORK}")
  file(MAKE_DIRECTORY "${WORK}/corpus")
  string(REPLACE ";" "," seed_list "${seeds}")
  file(WRITE "${WORK}/seeds.txt" "${seed_list}")
  if(NOT SEED)
    set(SEED 0)
  endif()
  execute_process(
    COMMAND "${PROGRAM}" "${WORK}/corpus" "-seed_inputs=@${WORK}/seeds.txt"
            -seed=${SEED} -max_total_time=${SECONDS} -rss_limit_mb=${RSS_LIMIT_MB}
            -max_len=${MAX_LEN} -print_final_stats=1
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE result)
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed (${result}); a reproducer (crash-*, timeout-*) is in ${WORK}")
endif()
