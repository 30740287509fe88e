# Run after a test program is built (cmake -P): asks it for its test
# classes and writes them, one per line, to OUT; CTest reads that file and
# makes one entry per class (tests/CMakeLists.txt). A program that cannot
# say, or has no class, fails the build.
#   EXE  the test program   OUT  the list to write
#   MANIFEST, FOLDER  the committed list of classes and the program's folder
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
# The classes must be the ones tests/classes.txt lists for this folder: a
# test file deleted or renamed by mistake fails the build instead of
# shrinking the suite. The program is removed, so that the next build
# checks again.
if(DEFINED MANIFEST)
  file(STRINGS "${MANIFEST}" listed REGEX "^${FOLDER} ")
  list(TRANSFORM listed REPLACE "^${FOLDER} " "")
  set(missing ${listed})
  list(REMOVE_ITEM missing ${classes})
  set(unlisted ${classes})
  if(listed)
    list(REMOVE_ITEM unlisted ${listed})
  endif()
  if(missing OR unlisted)
    file(REMOVE "${EXE}")
    message(FATAL_ERROR "test_${FOLDER}: its test classes are not those of tests/classes.txt "
                        "(listed there but not built: ${missing}; built but not listed: ${unlisted}). "
                        "A test file deleted or renamed? When that is meant, change tests/classes.txt.")
  endif()
endif()
list(JOIN classes "\n" text)
# Rewritten only when it changes, so that an unchanged list costs nothing.
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT "${old}" STREQUAL "${text}\n")
  file(WRITE "${OUT}" "${text}\n")
endif()
