// The list of `--files-from LIST`: one path a line, as text editors, `dir /b`,
// `find` and PowerShell write it.
#ifndef FENMARQ_CLI_PATH_LIST_H_
#define FENMARQ_CLI_PATH_LIST_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenmarq {

// Appends the paths in `bytes` to `paths` as UTF-8. The text is UTF-8, with
// or without a byte-order mark, or UTF-16 (little- or big-endian) after its
// byte-order mark; lines end in "\n" or "\r\n", the last one may end without
// either, and blank lines are skipped. Returns 0, or the number (from 1) of
// the first line that is not text: invalid UTF-8, a surrogate without its
// partner, half a UTF-16 code unit, or U+0000, which no path holds (a UTF-16
// list without its mark reads as UTF-8 with such characters). Nothing is
// appended then.
std::size_t appendPathList(std::string_view bytes, std::vector<std::string>& paths);

// Reads the whole of the list `list`, a file or standard input for "-".
// False when it cannot be read.
bool readPathList(const std::string& list, std::string& bytes);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_PATH_LIST_H_
