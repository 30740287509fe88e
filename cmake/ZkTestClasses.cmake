# Run after a test program is built (cmake -P): asks it for its test
# classes and writes them, one per line, to OUT; CTest reads that file and
# makes one entry per class (tests/CMakeLists.txt). A program that cannot
# say, or has no class, fails the build.
#   EXE  the test program   OUT  the list to write
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
execute_process(COMMAND "${EXE}" --list-classes
                OUTPUT_VARIABLE out RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXE} --list-classes failed (${status}): ${err}")
endif()
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" classes "${out}")
if(NOT classes)
  message(FATAL_ERROR "${EXE} registers no test class")
endif()
set(unique ${classes})
list(REMOVE_DUPLICATES unique)
if(NOT unique STREQUAL classes)
  message(FATAL_ERROR "${EXE} registers a test class twice: ${classes}")
endif()
list(JOIN classes "\n" text)
# Rewritten only when it changes, so that an unchanged list costs nothing.
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT "${old}" STREQUAL "${text}\n")
  file(WRITE "${OUT}" "${text}\n")
endif()
