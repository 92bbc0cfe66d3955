// The hex rendering alone, as a program: INPUT in, its HEX text out, through
// blocks small enough to stay in the processor's cache (fenmarq-cli renders
// larger blocks, which suit its two files and the read-back better). Timed
// against basenc --base16 -w0.
// Usage: hex_only INPUT OUTPUT
#include <cstdio>
#include <vector>

#include "convert/file.h"
#include "convert/hex_dump.h"  // renderHex

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: hex_only INPUT OUTPUT\n");
    return 2;
  }
  fenmarq::File in, out;
  if (!in.open(argv[1], fenmarq::OpenMode::kRead) ||
      !out.open(argv[2], fenmarq::OpenMode::kOutput) || !out.lock() || !out.truncate()) {
    return 1;
  }
  constexpr std::size_t kBlock = 32 * 1024;
  std::vector<std::uint8_t> bytes(kBlock);
  std::vector<char> digits(2 * kBlock);
  for (std::size_t got; (got = in.read(bytes.data(), kBlock)) > 0;) {
    fenmarq::renderHex({bytes.data(), got}, digits.data());
    out.write({digits.data(), 2 * got});
  }
  return out.close() ? 0 : 1;
}
