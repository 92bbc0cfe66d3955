#include "platform/temporary_file.h"

#include <cstdint>
#include <cstdio>
#include <random>

namespace fenmarq {

std::string temporaryNamePrefix(std::string_view name) {
  std::uint64_t hash = 14'695'981'039'346'656'037ull;  // FNV-1a
  for (const unsigned char c : name) hash = (hash ^ c) * 1'099'511'628'211ull;
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, ".fenmarq-%012llx-",
                static_cast<unsigned long long>(hash & 0xFFFF'FFFF'FFFFull));
  return prefix;
}

std::string temporaryFileName(std::string_view name) {
  std::random_device seed;
  char part[16];
  std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(seed()));
  return temporaryNamePrefix(name) + part + std::string(kTemporaryNameSuffix);
}

}  // namespace fenmarq
