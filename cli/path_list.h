// The list of `--files-from LIST`: one path a line, as text editors, `dir /b`,
// `find` and PowerShell write it.
#ifndef FENMARQ_CLI_PATH_LIST_H_
#define FENMARQ_CLI_PATH_LIST_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace fenmarq {

// The longest line a list may hold, in bytes before its line end: no path
// comes near it, and a file that is no list (a device that never ends, a
// binary file) is stopped at its first line.
constexpr std::size_t kLongestListLine = 64 * 1024;

// Decodes a list as its bytes arrive, appending each path to `paths` as
// UTF-8 once its line is complete. The text is UTF-8, with or without a
// byte-order mark, or UTF-16 (little- or big-endian) after its byte-order
// mark; lines end in "\n" or "\r\n", the last one may end without either,
// and blank lines are skipped. A line is not text when it holds invalid
// UTF-8, a surrogate without its partner, half a UTF-16 code unit, U+0000
// (which no path holds; a UTF-16 list without its mark reads as UTF-8 with
// such characters) or more than kLongestListLine bytes. A U+0000 or an
// overlong line is found as soon as its bytes arrive, before the line ends.
// A list without a byte-order mark that is not all UTF-8 is read again from
// its start, all of it in `fallbackCodePage` where there is one (the
// system's ANSI code page on Windows: cmd writes it), and is not text where
// it is not text in that code page either. Once a line is not text, the
// paths of the list appended so far are taken back and every later byte is
// ignored.
class PathListDecoder {
 public:
  PathListDecoder(std::vector<std::string>& paths, unsigned fallbackCodePage)
      : paths_(paths), given_(paths.size()), fallbackCodePage_(fallbackCodePage) {
    keepBytes_ = fallbackCodePage != 0;
  }

  // Takes the next bytes of the list; false once a line is not text.
  bool take(std::string_view bytes);
  // Takes the end of the list; false when a line is not text.
  bool finish();
  // The number (from 1) of the line that is not text, or 0.
  std::size_t badLine() const { return badLine_; }
  // The code page the list was read in at last, or 0 for UTF-8 or UTF-16.
  unsigned codePage() const { return codePage_; }

 private:
  bool takeBytes(std::string_view bytes);
  bool finishBytes();
  // Reads the list taken so far again, in the fallback code page.
  bool readAgainInCodePage();
  // Settles the encoding by the byte-order mark at the start of `head_`
  // once it can tell; false when a line is not text.
  bool chooseEncoding(bool atEnd);
  // Where the next line feed starts in `units` (whole code units) from
  // `from`, or npos.
  std::size_t findLineFeed(std::string_view units, std::size_t from) const;
  bool holdsNul(std::string_view units) const;
  // Takes whole code units, ending each line they end; false when a line
  // is not text.
  bool takeUnits(std::string_view units);
  // Ends the line of `pending_` followed by `rest`.
  bool endLine(std::string_view rest);
  // Notes that line `line` is not text and takes back the list's paths.
  bool fail(std::size_t line);

  std::vector<std::string>& paths_;
  const std::size_t given_;  // how many paths there were before the list
  std::string head_;         // the first bytes while they may still be a byte-order mark
  bool encodingKnown_ = false;
  std::size_t unit_ = 1;  // bytes per code unit
  bool bigEndian_ = false;
  std::string carry_;      // the first byte of a UTF-16 code unit cut between two pieces
  std::string pending_;    // the line so far, without its end
  std::string decoded_;    // a UTF-16 line as UTF-8
  std::size_t lines_ = 0;  // lines ended so far
  std::size_t badLine_ = 0;
  const unsigned fallbackCodePage_;
  unsigned codePage_ = 0;   // the code page of the lines, 0 for Unicode
  bool keepBytes_ = false;  // whether the list may yet be read again
  bool readAgain_ = false;  // a line is not UTF-8, and the list may be in the fallback
  std::string bytes_;       // the list so far, while it may be read again
};

// Appends the paths of the whole list `bytes` to `paths` as PathListDecoder
// does. Returns 0, or the number (from 1) of the first line that is not
// text; nothing is appended then.
std::size_t appendPathList(std::string_view bytes, std::vector<std::string>& paths,
                           unsigned fallbackCodePage);

// Why a list was not read.
struct ListFailure {
  std::size_t badLine = 0;  // the line that is not text, or 0
  unsigned codePage = 0;    // the code page that line was tried in too, or 0
  std::string reason;       // the system's, when the list cannot be opened or read
};

// Reads the list `list`, a file or standard input for "-", to its end as it
// arrives and appends its paths to `paths`, falling back to the system's
// code page. False when a line is not text, with its number and nothing
// appended, reading no further; false with `badLine` 0 and the system's
// reason when the list cannot be opened or a read fails, nothing appended
// either.
bool readPathList(const std::string& list, std::vector<std::string>& paths, ListFailure* failure);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_PATH_LIST_H_
