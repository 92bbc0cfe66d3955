#include "platform/temporary_file.h"

#include <cstdint>
#include <cstdio>

namespace fenmarq {

std::string temporaryNamePrefix(std::string_view name) {
  std::uint64_t hash = 14'695'981'039'346'656'037ull;  // FNV-1a
  for (const unsigned char c : name) hash = (hash ^ c) * 1'099'511'628'211ull;
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, ".fenmarq-%012llx-",
                static_cast<unsigned long long>(hash & 0xFFFF'FFFF'FFFFull));
  return prefix;
}

}  // namespace fenmarq
