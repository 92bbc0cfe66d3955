#include "platform/program_entry.h"
#include "platform/utf16_win32.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(fenmarq::utf8FromUtf16(argv[i]));
  return fenmarq::programMain(args);
}
