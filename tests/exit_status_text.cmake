# The exit-status text of fenmarq-cli is written three times: in its usage
# text (cli/main.cc), in the README and in the manual page. Checks that the
# three say the same words.
#   cmake -DSOURCE_DIR=<source tree> -P exit_status_text.cmake
function(paragraph_after file start stop out)
  file(READ ${SOURCE_DIR}/${file} text)
  string(FIND "${text}" "${start}" begin)
  if(begin EQUAL -1)
    message(FATAL_ERROR "${file}: no '${start}'")
  endif()
  string(LENGTH "${start}" skip)
  math(EXPR begin "${begin} + ${skip}")
  string(SUBSTRING "${text}" ${begin} -1 text)
  string(FIND "${text}" "${stop}" end)
  string(SUBSTRING "${text}" 0 ${end} text)
  string(REGEX REPLACE "[ \n]+" " " text "${text}")
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

paragraph_after(cli/main.cc "Exit status:" ")\"" usage)
paragraph_after(README.md "Exit status:" "\n\n" readme)
paragraph_after(docs/fenmarq-cli.1.in ".SH EXIT STATUS" "\n.SH" manual)
if(NOT readme STREQUAL usage)
  message(FATAL_ERROR "README.md's exit status differs from --help:\n${readme}\n${usage}")
endif()
if(NOT manual STREQUAL usage)
  message(FATAL_ERROR "the manual page's exit status differs from --help:\n${manual}\n${usage}")
endif()
