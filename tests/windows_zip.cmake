# The Windows zip as a user gets it: unpacked into a fresh folder, it holds
# fenmarq.exe, fenmarq-cli.exe, README-Windows.txt and LICENSE at its root,
# the README in UTF-8 with a byte-order mark and "\r\n" line ends, both
# programs declare in their manifests that they take long paths; the
# unpacked fenmarq-cli.exe writes the samples into a folder of data and
# converts them there, picked by a wildcard.
#   cmake -DZIP=<zip> -DWORK=<folder> -DRUN=<runner of Windows programs> -P windows_zip.cmake
function(expect_equal what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${what}: '${actual}', expected '${expected}'")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK}")
set(unpacked "${WORK}/fenmarq")
set(data "${WORK}/データ")
file(MAKE_DIRECTORY "${unpacked}" "${data}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${ZIP}" WORKING_DIRECTORY "${unpacked}"
                RESULT_VARIABLE status)
expect_equal("unpacking ${ZIP}" "${status}" 0)
file(GLOB files RELATIVE "${unpacked}" "${unpacked}/*")
list(SORT files)
expect_equal("the zip's root" "${files}" "LICENSE;README-Windows.txt;fenmarq-cli.exe;fenmarq.exe")

# Read as hex, byte by byte: file(READ) as text drops every "\r".
file(READ "${unpacked}/README-Windows.txt" hex HEX)
string(REGEX REPLACE "(..)" " \\1" bytes "${hex}")
string(SUBSTRING "${bytes}" 0 9 mark)
expect_equal("README-Windows.txt's first bytes" "${mark}" " ef bb bf")
string(REGEX MATCHALL " 0d 0a" crlf "${bytes}")
string(REGEX MATCHALL " 0a" lf "${bytes}")
string(REGEX MATCHALL " 0d" cr "${bytes}")
list(LENGTH crlf lines)
list(LENGTH lf line_feeds)
list(LENGTH cr returns)
expect_equal("line feeds in README-Windows.txt" "${line_feeds}" "${lines}")
expect_equal("carriage returns in README-Windows.txt" "${returns}" "${lines}")
if(lines LESS 20)
  message(FATAL_ERROR "README-Windows.txt holds ${lines} lines")
endif()

# Windows opens paths past 260 characters only for a program whose manifest
# says it can (wine has no such limit, so only the manifests show it).
foreach(program fenmarq.exe fenmarq-cli.exe)
  file(STRINGS "${unpacked}/${program}" aware REGEX "<longPathAware[^>]*>true</longPathAware>")
  if(NOT aware)
    message(FATAL_ERROR "${program}'s manifest does not declare longPathAware")
  endif()
endforeach()

function(run_cli)
  execute_process(COMMAND ${RUN} "${unpacked}/fenmarq-cli.exe" ${ARGN} WORKING_DIRECTORY "${data}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  expect_equal("fenmarq-cli.exe ${ARGN}, exit status (${err})" "${status}" 0)
  set(out "${out}" PARENT_SCOPE)
endfunction()
run_cli(samples .)
string(REGEX MATCHALL "\n" samples "${out}")
list(LENGTH samples count)
run_cli(convert --jobs 1 *_20??????.*)
string(REGEX MATCHALL "CHKファイルの確認 成功" checked "${out}")
list(LENGTH checked passed)
expect_equal("CHK checks passed" "${passed}" "${count}")
foreach(folder CSVFiles HEXFiles CHKFiles)
  file(GLOB outputs "${data}/${folder}/*")
  list(LENGTH outputs made)
  expect_equal("files in ${folder}" "${made}" "${count}")
endforeach()
file(REMOVE_RECURSE "${WORK}")
