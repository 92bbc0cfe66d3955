#include <io.h>
#include <stdio.h>

#include "platform/program_entry.h"
#include "platform/standard_streams.h"
#include "platform/utf16_win32.h"

int wmain(int argc, wchar_t** argv) {
  // Standard streams that the caller left without a handle are opened on the
  // null device before anything else opens a file: otherwise the first
  // output file would take the place of standard output or error, and log
  // text would land in it.
  const struct {
    FILE* stream;
    const wchar_t* mode;
  } standard[] = {{stdin, L"rb"}, {stdout, L"wb"}, {stderr, L"wb"}};
  for (const auto& [stream, mode] : standard) {
    const int fd = _fileno(stream);
    if (fd >= 0 && _get_osfhandle(fd) != -1) continue;
    if (_wfreopen(L"NUL", mode, stream) == nullptr) return 1;
    if (stream != stdin) {
      fenmarq::noteStartedClosed(stream == stdout ? fenmarq::StandardStream::kOutput
                                                  : fenmarq::StandardStream::kError);
    }
  }
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(fenmarq::utf8FromUtf16(argv[i]));
  return fenmarq::programMain(args);
}
