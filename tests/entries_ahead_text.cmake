# The README states how many files the batch opens ahead of its log: the
# number must be the engine's kEntriesAheadOfLog.
#   cmake -DSOURCE_DIR=<source tree> -P entries_ahead_text.cmake
file(READ ${SOURCE_DIR}/convert/batch_engine.h header)
if(NOT header MATCHES "kEntriesAheadOfLog = ([0-9]+);")
  message(FATAL_ERROR "convert/batch_engine.h: no kEntriesAheadOfLog")
endif()
set(bound ${CMAKE_MATCH_1})
file(READ ${SOURCE_DIR}/README.md readme)
string(REGEX REPLACE "[ \n]+" " " readme "${readme}")
if(NOT readme MATCHES "at most ([0-9]+) files are opened ahead of the log")
  message(FATAL_ERROR "README.md: no 'at most N files are opened ahead of the log'")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL bound)
  message(FATAL_ERROR "README.md says ${CMAKE_MATCH_1} files ahead of the log, the engine ${bound}")
endif()
