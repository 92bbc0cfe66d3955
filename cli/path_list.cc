#include "cli/path_list.h"

#include "convert/file.h"
#include "platform/standard_streams.h"
#include "platform/utf8.h"

namespace fenmarq {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

void appendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// One line of UTF-8 without its line end, checked; false when it is not text.
bool takeUtf8Line(std::string_view line, std::string& out) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
  for (std::size_t at = 0; at < line.size();) {
    const std::size_t length = wellFormedLength(bytes + at, line.size() - at);
    if (length == 0 || bytes[at] == 0) return false;
    at += length;
  }
  out = line;
  return true;
}

// One line of UTF-16 code units (two bytes each, in the order `bigEndian`
// says) without its line end, as UTF-8; false when it is not text.
bool takeUtf16Line(std::string_view line, bool bigEndian, std::string& out) {
  if (line.size() % 2 != 0) return false;
  const auto unitAt = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(line[2 * i]);
    const auto second = static_cast<unsigned char>(line[2 * i + 1]);
    return bigEndian ? first << 8 | second : second << 8 | first;
  };
  const std::size_t units = line.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    char32_t code = unitAt(i);
    if (code == 0 || (code >= 0xDC00 && code <= 0xDFFF)) return false;
    if (code >= 0xD800 && code <= 0xDBFF) {
      const char32_t low = i + 1 < units ? unitAt(i + 1) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      ++i;
    }
    appendUtf8(code, out);
  }
  return true;
}

}  // namespace

std::size_t appendPathList(std::string_view bytes, std::vector<std::string>& paths) {
  // A UTF-16 line end is "\n" or "\r\n" in code units of two bytes each.
  std::size_t unit = 1;
  bool bigEndian = false;
  if (bytes.starts_with(kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
  } else if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
    bigEndian = bytes.starts_with(kUtf16BeMark);
    bytes.remove_prefix(2);
    unit = 2;
  }
  const std::string_view lineFeed = unit == 1   ? "\n"
                                    : bigEndian ? std::string_view("\0\n", 2)
                                                : std::string_view("\n\0", 2);
  const std::string_view carriageReturn = unit == 1   ? "\r"
                                          : bigEndian ? std::string_view("\0\r", 2)
                                                      : std::string_view("\r\0", 2);
  std::vector<std::string> found;
  std::size_t number = 0;
  for (std::size_t begin = 0; begin < bytes.size();) {
    ++number;
    // Line feeds are searched for at code-unit boundaries only.
    std::size_t end = begin;
    while (end < bytes.size() && bytes.substr(end, unit) != lineFeed) end += unit;
    std::string_view line = bytes.substr(begin, end - begin);
    begin = end + unit;
    if (line.ends_with(carriageReturn)) line.remove_suffix(unit);
    if (line.empty()) continue;
    std::string path;
    if (!(unit == 1 ? takeUtf8Line(line, path) : takeUtf16Line(line, bigEndian, path))) {
      return number;
    }
    found.push_back(std::move(path));
  }
  paths.insert(paths.end(), std::make_move_iterator(found.begin()),
               std::make_move_iterator(found.end()));
  return 0;
}

bool readPathList(const std::string& list, std::string& bytes) {
  if (list == "-") return readStandardInput(bytes);
  File file;
  if (!file.open(list, OpenMode::kRead)) return false;
  char buffer[65536];
  for (std::size_t got; (got = file.read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
  return true;
}

}  // namespace fenmarq
