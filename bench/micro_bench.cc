// Micro-benchmarks of the three passes over an image: the hex rendering, the
// hex files with their read-back check, and the sheet writer of each format.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <vector>

#include "cli/sample_day.h"
#include "convert/batch_view.h"
#include "convert/file.h"
#include "convert/hex_dump.h"
#include "convert/log_pane.h"
#include "formats/csv_sheet.h"
#include "formats/format_converter.h"
#include "platform/cp932.h"

namespace fenmarq {
namespace {

std::vector<std::uint8_t> randomBytes(std::size_t size) {
  std::mt19937 generator(42);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(generator());
  return bytes;
}

class NullSink final : public ByteSink {
 public:
  void write(std::string_view bytes) override { written += bytes.size(); }
  std::size_t written = 0;
};

class NullLog final : public LogPane, public BatchView {
 public:
  void append(std::string_view) override {}
  void setLimit(std::size_t) override {}
  void selectEntry(std::size_t) override {}
  void showFields(const ObservationFileName&) override {}
  void showMessageBox(std::string_view) override {}
};

void BM_RenderHex(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = randomBytes(2'263'680);
  std::vector<char> out(2 * bytes.size());
  for (auto _ : state) {
    renderHex(bytes, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_RenderHex);

// Writes both hex files into /dev/shm (or the temporary folder) and checks one.
void BM_HexAndCheckFiles(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = randomBytes(2'263'680);
  const std::filesystem::path folder =
      std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
  const std::string hexPath = (folder / "fenmarq_bench_hex.txt").string();
  const std::string chkPath = (folder / "fenmarq_bench_chk.txt").string();
  std::vector<char> expected(2 * HexScratch::kBlockBytes), actual(2 * HexScratch::kBlockBytes);
  NullLog quiet;
  for (auto _ : state) {
    File hex, chk;
    const HexScratch scratch{expected.data(), actual.data()};
    for (File* file : {&hex, &chk}) {
      file->open(file == &hex ? hexPath : chkPath, OpenMode::kOutput);
      file->lock();
      file->truncate();
    }
    writeRenderings(bytes, hex, chk, scratch);
    checkChkFile(bytes, chk, chkPath, scratch, quiet, quiet);
    hex.close();
  }
  std::filesystem::remove(hexPath);
  std::filesystem::remove(chkPath);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_HexAndCheckFiles)->Unit(benchmark::kMillisecond);

void BM_WriteSheet(benchmark::State& state) {
  const SampleFile& sample = sampleFiles()[static_cast<std::size_t>(state.range(0))];
  const bool random = state.range(1) != 0;
  const std::vector<std::uint8_t> image =
      random ? randomBytes(makeSampleDay(sample).size()) : makeSampleDay(sample);
  const FormatConverter converter(sample.format);
  const std::unique_ptr<Cp932Encoder> cp932 = Cp932Encoder::open();
  std::size_t written = 0;
  for (auto _ : state) {
    NullSink sink;
    {
      CsvSheet sheet(sink);
      converter.writeSheet(image, sample.fileName, *cp932, sheet);
    }
    written = sink.written;
  }
  state.SetLabel(std::string(sample.fileName) + (random ? " random" : " realistic"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * written));
}
BENCHMARK(BM_WriteSheet)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmarq

BENCHMARK_MAIN();
