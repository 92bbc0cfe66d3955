#include <unistd.h>

#include <cstdio>

#include "platform/descriptor.h"
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

bool readStandardInput(const std::function<bool(std::string_view)>& take, std::string* err) {
  return readDescriptor(STDIN_FILENO, take, err);
}

}  // namespace fenmarq
