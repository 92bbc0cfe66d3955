#include "formats/record_cells.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "formats/amd_10sec.h"
#include "formats/amd_1min.h"
#include "formats/sfc_10sec.h"
#include "formats/sfc_10sec_2008.h"
#include "formats/sfc_1min.h"

namespace fenmarq {
namespace {

// Each format's compiled writers against the per-field path, which reads
// the field table at run time. A compiled writer that belongs to another
// format's table (as when a linker merges the writers of two formats) writes
// another number of cells and fails here.
const struct {
  const char* name;
  const RecordFormat* format;
} kFormats[] = {
    {"amd 1min", &kAmd1MinFormat},   {"amd 10sec", &kAmd10SecFormat},
    {"sfc 10sec", &kSfc10SecFormat}, {"sfc 10sec 2008", &kSfc10Sec2008Format},
    {"sfc 1min", &kSfc1MinFormat},
};

constexpr std::size_t kCellCapacity = 32;  // the widest cell, a decoded one, with room

// Random records, then one of zeros and one of 0xFF bytes; each record comes
// twice, so that the table writer's repeated position texts are used too.
std::vector<std::vector<std::uint8_t>> recordsOf(std::size_t size) {
  std::mt19937 random(20160412);
  std::vector<std::vector<std::uint8_t>> records;
  for (int r = 0; r < 32; ++r) {
    std::vector<std::uint8_t> record(size);
    for (std::uint8_t& byte : record) byte = static_cast<std::uint8_t>(random());
    records.push_back(record);
    records.push_back(record);
  }
  records.emplace_back(size, 0x00);
  records.emplace_back(size, 0xFF);
  return records;
}

TEST(RecordCellsTest, CompiledWritersWriteWhatTheFieldTableSays) {
  for (const auto& [name, format] : kFormats) {
    SCOPED_TRACE(name);
    std::string compiled(format->fields.size() * kCellCapacity, '\0');
    std::string perField(compiled.size(), '\0');
    PositionTexts positions;
    for (const std::vector<std::uint8_t>& record : recordsOf(format->recordSize)) {
      char* out = perField.data();
      for (const Field& field : format->fields) out = appendFieldCell(field, record.data(), out);
      const std::string sheetCells(perField.data(), out);
      out = format->writeCells(record.data(), compiled.data());
      ASSERT_EQ(std::string(compiled.data(), out), sheetCells);

      out = perField.data();
      for (const Field& field : format->fields) out = appendTableCell(field, record.data(), out);
      const std::string tableCells(perField.data(), out);
      out = format->writeTableCells(record.data(), positions, compiled.data());
      ASSERT_EQ(std::string(compiled.data(), out), tableCells);
    }
  }
}

}  // namespace
}  // namespace fenmarq
