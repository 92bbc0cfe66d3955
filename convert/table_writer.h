// One analysis table of many day files of one record format: the inputs are
// checked before anything is written, then read one after the other into one
// reused block and streamed to the output.
#ifndef FENMARQ_CONVERT_TABLE_WRITER_H_
#define FENMARQ_CONVERT_TABLE_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/byte_sink.h"
#include "formats/record_format.h"
#include "platform/file_system.h"

namespace fenmarq {

class DataTable;

// What the inputs of a table have in common once checked.
struct TableSources {
  const RecordFormat* format = nullptr;
  std::vector<FileIdentity> identities;  // of every input, for the output to avoid
};

// The record format that `name` (a path or a file name, UTF-8) selects by the
// conversion rules, or nullptr.
const RecordFormat* formatOfName(std::string_view name);

// Checks that every one of `paths` is a conversion target whose name selects
// the same record format as the first, and can be opened. Returns an empty
// text when they do, otherwise one that names the first that does not.
std::string checkTableSources(const std::vector<std::string>& paths, TableSources& sources);

// Reads the day file at `path` into `image`, a block of its layout's size:
// the bytes it has, zeros for what it lacks. Returns how many bytes it had,
// or -1 when it cannot be opened or read; `error`, when given, then holds
// why as a <cerrno> number (0 for a file that is no regular file).
std::ptrdiff_t readDayFile(const std::string& path, std::span<std::uint8_t> image,
                           int* error = nullptr);

// Writes the header and the rows of every one of `paths`, in order, to `out`.
// A file shorter than its layout is read with zeros for what it lacks, after
// a warning through `warn`. False, with `error` set, when a file cannot be
// read.
bool writeTable(const std::vector<std::string>& paths, const DataTable& table, bool asciiNames,
                ByteSink& out, const std::function<void(std::string_view)>& warn,
                std::string& error);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_TABLE_WRITER_H_
