#include "cli/path_list.h"

#include "platform/file_system.h"
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

// Whether one line of UTF-8 without its line end is text.
bool isUtf8Line(std::string_view line) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
  for (std::size_t at = 0; at < line.size();) {
    const std::size_t length = wellFormedLength(bytes + at, line.size() - at);
    if (length == 0 || bytes[at] == 0) return false;
    at += length;
  }
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

bool PathListDecoder::take(std::string_view bytes) {
  if (badLine_ != 0) return false;
  if (keepBytes_) bytes_.append(bytes);
  return takeBytes(bytes) || (readAgain_ && readAgainInCodePage());
}

bool PathListDecoder::finish() {
  if (badLine_ != 0) return false;
  return finishBytes() || (readAgain_ && readAgainInCodePage() && finishBytes());
}

bool PathListDecoder::readAgainInCodePage() {
  readAgain_ = false;
  keepBytes_ = false;
  codePage_ = fallbackCodePage_;
  badLine_ = 0;
  lines_ = 0;
  const std::string bytes = std::move(bytes_);
  bytes_.clear();
  return takeUnits(bytes);
}

bool PathListDecoder::takeBytes(std::string_view bytes) {
  while (!encodingKnown_ && !bytes.empty()) {
    head_ += bytes.front();
    bytes.remove_prefix(1);
    if (!chooseEncoding(/*atEnd=*/false)) return false;
  }
  if (bytes.empty()) return true;
  // UTF-16 goes on in whole code units: a byte cut off from its partner
  // waits for it.
  if (unit_ == 2 && !carry_.empty()) {
    const std::string unit = carry_ + bytes.front();
    carry_.clear();
    bytes.remove_prefix(1);
    if (!takeUnits(unit)) return false;
  }
  if (bytes.size() % unit_ != 0) {
    carry_ = bytes.back();
    bytes.remove_suffix(1);
  }
  return takeUnits(bytes);
}

bool PathListDecoder::finishBytes() {
  if (!encodingKnown_ && !chooseEncoding(/*atEnd=*/true)) return false;
  if (!carry_.empty()) return fail(lines_ + 1);  // half a code unit
  return pending_.empty() || endLine({});
}

bool PathListDecoder::chooseEncoding(bool atEnd) {
  for (const std::string_view mark : {kUtf8Mark, kUtf16LeMark, kUtf16BeMark}) {
    if (std::string_view(head_).starts_with(mark)) {
      encodingKnown_ = true;
      unit_ = mark == kUtf8Mark ? 1 : 2;
      bigEndian_ = mark == kUtf16BeMark;
      head_.clear();  // a mark is as long as the head can get
      keepBytes_ = false;
      bytes_.clear();
      return true;
    }
    if (!atEnd && mark.starts_with(head_)) return true;  // it may still become this mark
  }
  encodingKnown_ = true;  // UTF-8 without a mark
  const std::string text = std::move(head_);
  head_.clear();
  return takeUnits(text);
}

std::size_t PathListDecoder::findLineFeed(std::string_view units, std::size_t from) const {
  if (unit_ == 1) return units.find('\n', from);
  const char lineFeed[2] = {bigEndian_ ? '\0' : '\n', bigEndian_ ? '\n' : '\0'};
  for (std::size_t at = from; at < units.size(); at += 2) {
    if (units[at] == lineFeed[0] && units[at + 1] == lineFeed[1]) return at;
  }
  return std::string_view::npos;
}

bool PathListDecoder::holdsNul(std::string_view units) const {
  if (unit_ == 1) return units.find('\0') != std::string_view::npos;
  for (std::size_t at = 0; at < units.size(); at += 2) {
    if (units[at] == '\0' && units[at + 1] == '\0') return true;
  }
  return false;
}

bool PathListDecoder::takeUnits(std::string_view units) {
  std::size_t begin = 0;
  for (std::size_t end; (end = findLineFeed(units, begin)) != std::string_view::npos;) {
    if (!endLine(units.substr(begin, end - begin))) return false;
    begin = end + unit_;
  }
  // The line goes on in the next piece. What it holds so far is checked at
  // once: a list that is no text (a device of zeros, say) stops here rather
  // than being read on. A line may reach the longest length and its "\r".
  const std::string_view rest = units.substr(begin);
  if (pending_.size() + rest.size() > kLongestListLine + unit_ || holdsNul(rest)) {
    return fail(lines_ + 1);
  }
  pending_.append(rest);
  return true;
}

bool PathListDecoder::endLine(std::string_view rest) {
  ++lines_;
  std::string_view line = rest;
  if (!pending_.empty()) {
    pending_.append(rest);
    line = pending_;
  }
  const std::string_view carriageReturn = unit_ == 1   ? "\r"
                                          : bigEndian_ ? std::string_view("\0\r", 2)
                                                       : std::string_view("\r\0", 2);
  if (line.ends_with(carriageReturn)) line.remove_suffix(unit_);
  if (line.size() > kLongestListLine) return fail(lines_);
  if (codePage_ != 0 && !line.empty()) {
    decoded_.clear();
    if (!appendUtf8FromCodePage(codePage_, line, decoded_)) return fail(lines_);
    paths_.emplace_back(decoded_);
  } else if (unit_ == 1 && !line.empty()) {
    if (!isUtf8Line(line)) {
      readAgain_ = keepBytes_;
      return fail(lines_);
    }
    paths_.emplace_back(line);
  } else if (!line.empty()) {
    decoded_.clear();
    if (!takeUtf16Line(line, bigEndian_, decoded_)) return fail(lines_);
    paths_.emplace_back(decoded_);
  }
  pending_.clear();
  return true;
}

bool PathListDecoder::fail(std::size_t line) {
  badLine_ = line;
  paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(given_), paths_.end());
  pending_.clear();
  return false;
}

std::size_t appendPathList(std::string_view bytes, std::vector<std::string>& paths,
                           unsigned fallbackCodePage) {
  PathListDecoder decoder(paths, fallbackCodePage);
  if (decoder.take(bytes)) decoder.finish();
  return decoder.badLine();
}

bool readPathList(const std::string& list, std::vector<std::string>& paths, ListFailure* failure) {
  const std::size_t given = paths.size();
  PathListDecoder decoder(paths, systemCodePage());
  const auto take = [&decoder](std::string_view bytes) { return decoder.take(bytes); };
  *failure = {};
  const bool read = list == "-" ? readStandardInput(take, &failure->reason)
                                : readStream(list, take, &failure->reason);
  if (!read) {
    paths.erase(paths.begin() + static_cast<std::ptrdiff_t>(given), paths.end());
    return false;
  }
  decoder.finish();
  failure->badLine = decoder.badLine();
  failure->codePage = decoder.codePage();
  return failure->badLine == 0;
}

}  // namespace fenmarq
