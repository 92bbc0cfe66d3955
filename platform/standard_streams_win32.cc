#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/descriptor.h"
#include "platform/standard_streams.h"
#include "platform/utf16_win32.h"

namespace fenmarq {
namespace {

// One standard stream: a console window, or bytes through the C runtime in
// binary mode ("\r\n" stays "\r\n", never "\r\r\n").
class Stream {
 public:
  Stream(std::FILE* file, DWORD handleId) : file_(file) {
    handle_ = GetStdHandle(handleId);
    DWORD mode;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE &&
               GetConsoleMode(handle_, &mode) != 0;
    if (!console_) _setmode(_fileno(file_), _O_BINARY);
  }

  void write(std::string_view utf8) {
    if (!console_) {
      std::fwrite(utf8.data(), 1, utf8.size(), file_);
      return;
    }
    // A character cut between two writes waits for its remaining bytes.
    pending_.append(utf8);
    const std::size_t whole = wholeCharacters(pending_);
    const std::wstring wide = utf16FromUtf8(std::string_view(pending_).substr(0, whole));
    pending_.erase(0, whole);
    for (std::size_t at = 0; at < wide.size();) {
      DWORD written = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
      if (!WriteConsoleW(handle_, wide.data() + at, want, &written, nullptr) || written == 0) {
        failed_ = true;
        return;
      }
      at += written;
    }
  }

  bool flush() {
    if (console_) return !failed_;
    return std::fflush(file_) == 0 && std::ferror(file_) == 0;
  }

 private:
  // The length of `text` without an incomplete UTF-8 sequence at its end.
  static std::size_t wholeCharacters(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t lead = text.size();
    while (lead > 0 && text.size() - lead < 3 && (bytes[lead - 1] & 0xC0) == 0x80) --lead;
    if (lead == 0) return text.size();
    --lead;  // the byte in front of the continuation bytes
    const unsigned char b = bytes[lead];
    const std::size_t announced = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return text.size() - lead < announced ? lead : text.size();
  }

  std::FILE* file_;
  HANDLE handle_;
  bool console_ = false;
  bool failed_ = false;
  std::string pending_;
};

Stream& streamOf(StandardStream stream) {
  static Stream output(stdout, STD_OUTPUT_HANDLE);
  static Stream error(stderr, STD_ERROR_HANDLE);
  return stream == StandardStream::kOutput ? output : error;
}

}  // namespace

void writeStandard(StandardStream stream, std::string_view utf8) { streamOf(stream).write(utf8); }

bool flushStandard(StandardStream stream) { return streamOf(stream).flush(); }

bool readStandardInput(const std::function<bool(std::string_view)>& take, std::string* err) {
  // In text mode the C runtime would drop the "\r" of "\r\n" and stop at the
  // first Ctrl-Z byte, which UTF-16 text holds in characters such as U+4E1A.
  _setmode(_fileno(stdin), _O_BINARY);
  return readDescriptor(_fileno(stdin), take, err);
}

}  // namespace fenmarq
