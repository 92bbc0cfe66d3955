#include <cstdio>

#include "platform/standard_streams.h"

namespace fenmarq {
namespace {

std::FILE* fileOf(StandardStream stream) {
  return stream == StandardStream::kOutput ? stdout : stderr;
}

}  // namespace

void writeStandard(StandardStream stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), fileOf(stream));
}

bool flushStandard(StandardStream stream) {
  std::FILE* file = fileOf(stream);
  return std::fflush(file) == 0 && std::ferror(file) == 0;
}

bool readStandardInput(std::string& bytes) {
  char buffer[65536];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) {
    bytes.append(buffer, got);
  }
  return std::ferror(stdin) == 0;
}

}  // namespace fenmarq
