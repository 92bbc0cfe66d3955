// The hexadecimal renderings of an input file: the HEX file kept for the
// user, and the CHK file that is read back at once and compared with the
// input to show that the rendering was written correctly.
#ifndef FENMARQ_CONVERT_HEX_DUMP_H_
#define FENMARQ_CONVERT_HEX_DUMP_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace fenmarq {

class BatchView;
class File;
class LogPane;

// Writes two upper-case hex digits per byte, high nibble first, into `out`
// (2 * bytes.size() characters; nothing else: no separators, no line ends).
void renderHex(std::span<const std::uint8_t> bytes, char* out);

// Scratch blocks for the renderings and the read-back, each 2 * kBlockBytes
// long, kept by the caller so that a batch reuses them from item to item.
struct HexScratch {
  static constexpr std::size_t kBlockBytes = 128 * 1024;  // input bytes per block
  char* expected;
  char* actual;
};

enum class HexCheckResult {
  kVerified,     // the CHK file matched and closed cleanly
  kProblems,     // checked, but a mismatch or a failed close was reported
  kReopenFailed  // the CHK file could not be opened again: the batch ends
};

// Writes the rendering of `bytes` to `hex` and to `chk`, block by block.
void writeRenderings(std::span<const std::uint8_t> bytes, File& hex, File& chk, HexScratch scratch);

// Closes `chk`, opens the file at `chkPath` again (the file that was written,
// never one put in its place), compares it pair by pair with the rendering
// of `bytes`, logs the outcome and closes it again.
HexCheckResult checkChkFile(std::span<const std::uint8_t> bytes, File& chk,
                            const std::string& chkPath, HexScratch scratch, LogPane& log,
                            BatchView& view);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_HEX_DUMP_H_
