// The hexadecimal renderings of an input file: the HEX file kept for the
// user, and the CHK file that is read back at once and compared with the
// input to show that the rendering was written correctly.
#ifndef FENMARQ_CONVERT_HEX_DUMP_H_
#define FENMARQ_CONVERT_HEX_DUMP_H_

#include <cstddef>
#include <cstdint>
#include <functional>
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
  kVerified,     // both files written, the CHK file matched and closed cleanly
  kProblems,     // completed, but a mismatch or a failed close was reported
  kReopenFailed  // the CHK file could not be opened again: the batch ends
};

// Writes the rendering of `bytes` to `hex` and `chk`, closes `chk`, reopens
// the file at `chkPath`, compares it pair by pair with `bytes`, logs the
// outcome and closes it again. `hex` stays open. `afterBlock`, unless empty,
// is called after each block written: the one moment between writing and
// checking at which something else may happen to the file.
HexCheckResult writeHexAndCheckFiles(std::span<const std::uint8_t> bytes, File& hex, File& chk,
                                     const std::string& chkPath, HexScratch scratch, LogPane& log,
                                     BatchView& view, const std::function<void()>& afterBlock = {});

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_HEX_DUMP_H_
