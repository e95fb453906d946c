# One ctest run of a fuzz target: a fresh copy of its seeds, a short fuzzing time, and
# any input that fails kept beside the copy (never in the repository).
foreach(var FUZZER SEEDS WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunFuzzTest.cmake needs -D${var}=...")
  endif()
endforeach()
if(NOT IS_DIRECTORY "${SEEDS}")
  message(FATAL_ERROR "no seed corpus at ${SEEDS}")
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/artifacts")
file(COPY "${SEEDS}/" DESTINATION "${WORK}/corpus")

execute_process(
  COMMAND "${FUZZER}" "${WORK}/corpus" -max_total_time=${SECONDS} -rss_limit_mb=1024
    -malloc_limit_mb=512 -timeout=10 -print_final_stats=1 "-artifact_prefix=${WORK}/artifacts/"
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(GLOB found "${WORK}/artifacts/*")
  message(FATAL_ERROR "${FUZZER} failed (${rc}); input kept: ${found}")
endif()
