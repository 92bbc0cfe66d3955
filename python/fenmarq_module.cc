// _fenmarq: the analysis table's columns straight into NumPy arrays, for the
// fenmarq package (fenmarq/__init__.py), which makes the pandas DataFrame.
//
// A read checks every file's name and format first, then allocates one
// block per kind of column for all the files' records at once, and fills
// the blocks file by file with the interpreter released.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "convert/conversion_rule.h"
#include "convert/file.h"
#include "convert/observation_file_name.h"
#include "convert/table_writer.h"
#include "formats/data_table.h"
#include "formats/decoding.h"
#include "formats/format_converter.h"
#include "formats/record_time.h"
#include "formats/table_schema.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace py = pybind11;

namespace fenmarq {
namespace {

constexpr std::int64_t kNotATime = std::numeric_limits<std::int64_t>::min();  // NaT

// The instants datetime64[ns] holds, in whole seconds either side of 1970.
constexpr std::int64_t kNanosecondSeconds =
    std::numeric_limits<std::int64_t>::max() / 1'000'000'000;

// Nanoseconds since 1970 UTC of a record's time stamp; NaT for one that
// names no calendar time, and for one outside datetime64[ns] (counted in
// `outOfRange`).
std::int64_t utcNanoseconds(const TimeStamp& stamp, std::size_t& outOfRange) {
  const std::optional<TimeStamp> time = calendarTime(stamp);
  if (!time) return kNotATime;
  const std::int64_t seconds = utcSeconds(*time);
  if (seconds < -kNanosecondSeconds || seconds > kNanosecondSeconds) {
    ++outOfRange;
    return kNotATime;
  }
  return seconds * 1'000'000'000;
}

// Paths arrive as the file system's bytes (the package hands them over as
// os.fsencode makes them), so that any name a folder lists can be read. A
// text that holds such a path goes back to Python as os.fsdecode makes it.
py::str fileSystemText(std::string_view bytes) {
  PyObject* text =
      PyUnicode_DecodeFSDefaultAndSize(bytes.data(), static_cast<Py_ssize_t>(bytes.size()));
  if (text == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(text);
}

[[noreturn]] void raiseValueError(std::string_view text) {
  PyErr_SetObject(PyExc_ValueError, fileSystemText(text).ptr());
  throw py::error_already_set();
}

// Raises the OSError of a file `path` that could not be opened or read, of
// the subclass its <cerrno> number `error` selects (FileNotFoundError,
// PermissionError, IsADirectoryError, ...); 0 for a file that is no regular
// file (a FIFO, a device), which is never read.
[[noreturn]] void raiseOsError(int error, const std::string& path) {
  const py::str name = fileSystemText(path);
  const py::object exception = error != 0 ? py::reinterpret_borrow<py::object>(PyExc_OSError)(
                                                error, std::generic_category().message(error), name)
                                          : py::reinterpret_borrow<py::object>(PyExc_OSError)(
                                                py::str("not a regular file: {!r}").format(name));
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.ptr())), exception.ptr());
  throw py::error_already_set();
}

const RecordFormat& formatOf(const std::vector<std::string>& paths) {
  if (paths.empty()) raiseValueError("no files to read");
  const RecordFormat* first = nullptr;
  for (const std::string& path : paths) {
    // The system would end the path at a NUL: what it opened would not be
    // the file that the name checked here belongs to.
    if (path.find('\0') != std::string::npos) raiseValueError("embedded null byte");
    const RecordFormat* format = formatOfName(path);
    if (format == nullptr) raiseValueError(path + " is not a conversion target");
    if (first == nullptr) first = format;
    if (format != first) {
      raiseValueError(path + " selects another record format than " + paths.front());
    }
  }
  return *first;
}

// The short files among `paths`, as warning texts (the interpreter warns
// before anything is read, so that warnings made errors stop the read).
py::list check(const std::vector<std::string>& paths) {
  const std::size_t size = layoutSize(formatOf(paths));
  py::list warnings;
  for (const std::string& path : paths) {
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    File input;
    if (!input.open(path, OpenMode::kRead)) raiseOsError(input.error(), path);
    const std::uint64_t got = input.openedSize();
    if (got < size) {
      warnings.append(fileSystemText(path + " holds " + std::to_string(got) +
                                     " bytes, fewer than the " + std::to_string(size) +
                                     " of its layout; the missing bytes read as zeros"));
    }
  }
  return warnings;
}

// Where one column of the table goes.
struct Target {
  const Field* field;
  bool fromStationBlock;
  bool decoded;
  double* numbers = nullptr;  // row 0 of its block row
  std::int64_t* integers = nullptr;
  bool* missing = nullptr;  // for integers that may be missing
};

template <FieldType type>
std::int32_t readAs(const std::uint8_t* at) {
  if constexpr (type == FieldType::kU16) {
    return readU16(at);
  } else if constexpr (type == FieldType::kS32) {
    return readS32(at);
  } else {
    return readS8(at);
  }
}

// Rows `first` on of `target` from `count` records of `size` bytes from
// `records` (station-block fields from `image`, the same on every row).
template <FieldType type>
void fillColumnOf(const Target& target, const std::uint8_t* image, const std::uint8_t* records,
                  std::size_t size, std::size_t count, std::size_t first) {
  const std::size_t step = target.fromStationBlock ? 0 : size;
  const std::uint8_t* at = (target.fromStationBlock ? image : records) + target.field->offset;
  const Decoding& decoding = target.field->decoding;
  if (target.numbers) {
    double* out = target.numbers + first;
    for (std::size_t k = 0; k < count; ++k, at += step) {
      const std::int32_t stored = readAs<type>(at);
      out[k] = target.decoded ? decodedValue(decoding, stored) : stored;
    }
  } else {
    std::int64_t* out = target.integers + first;
    for (std::size_t k = 0; k < count; ++k, at += step) out[k] = readAs<type>(at);
    if (target.missing) std::fill_n(target.missing + first, count, false);
  }
}

void fillColumn(const Target& target, const std::uint8_t* image, const std::uint8_t* records,
                std::size_t size, std::size_t count, std::size_t first) {
  switch (target.field->type) {
    case FieldType::kU16:
      return fillColumnOf<FieldType::kU16>(target, image, records, size, count, first);
    case FieldType::kS32:
      return fillColumnOf<FieldType::kS32>(target, image, records, size, count, first);
    case FieldType::kS8:
      return fillColumnOf<FieldType::kS8>(target, image, records, size, count, first);
  }
}

py::dict read(const std::vector<std::string>& paths, bool raw) {
  const RecordFormat& format = formatOf(paths);
  const DataTable table(format, raw);
  const std::size_t perFile = format.recordCount;
  const std::size_t rows = perFile * paths.size();

  // One block per kind of column: row c of a block is one column, as pandas
  // keeps them.
  std::vector<std::size_t> numberColumns, integerColumns, nullableColumns;
  const std::vector<TableColumn>& columns = table.columns();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].field == nullptr) continue;
    if (columns[c].type == ColumnType::kNumber) {
      numberColumns.push_back(c);
    } else {
      integerColumns.push_back(c);
      if (columns[c].mayBeMissing) nullableColumns.push_back(c);
    }
  }
  py::array_t<double> numbers({numberColumns.size(), rows});
  py::array_t<std::int64_t> integers({integerColumns.size(), rows});
  py::array_t<bool> missing({nullableColumns.size(), rows});
  py::array_t<std::int64_t> records(rows), times(table.hasTime() ? rows : 0);

  std::vector<Target> targets;
  double* const numberData = numbers.mutable_data();
  std::int64_t* const integerData = integers.mutable_data();
  bool* const missingData = missing.mutable_data();
  for (std::size_t i = 0; i < numberColumns.size(); ++i) {
    const TableColumn& column = columns[numberColumns[i]];
    targets.push_back({column.field, column.fromStationBlock, true, numberData + i * rows});
  }
  for (std::size_t i = 0; i < integerColumns.size(); ++i) {
    const TableColumn& column = columns[integerColumns[i]];
    Target target{column.field, column.fromStationBlock, false};
    target.integers = integerData + i * rows;
    const auto nullable =
        std::find(nullableColumns.begin(), nullableColumns.end(), integerColumns[i]);
    if (nullable != nullableColumns.end()) {
      target.missing = missingData + (nullable - nullableColumns.begin()) * rows;
    }
    targets.push_back(target);
  }

  std::string failed;
  int failure = 0;
  bool interrupted = false;
  std::size_t timesOutOfRange = 0;
  {
    py::gil_scoped_release released;
    std::int64_t* const recordData = records.mutable_data();
    std::int64_t* const timeData = times.mutable_data();
    std::vector<std::uint8_t> image(layoutSize(format));
    for (std::size_t f = 0; f < paths.size(); ++f) {
      if (f != 0) {
        // Between two files the interpreter runs the handlers of signals
        // that came meanwhile: Ctrl-C stops a long read within one file.
        py::gil_scoped_acquire acquired;
        interrupted = PyErr_CheckSignals() != 0;
      }
      if (interrupted) break;
      if (readDayFile(paths[f], image, &failure) < 0) {
        failed = paths[f];
        break;
      }
      const std::size_t first = f * perFile;
      const std::uint8_t* const records0 = image.data() + format.firstRecordOffset;
      for (std::size_t k = 0; k < perFile; ++k)
        recordData[first + k] = static_cast<std::int64_t>(k);
      if (table.hasTime()) {
        for (std::size_t k = 0; k < perFile; ++k) {
          timeData[first + k] =
              utcNanoseconds(table.timeOf(records0 + k * format.recordSize), timesOutOfRange);
        }
      }
      // Column by column: each column's rows are written in order.
      for (const Target& target : targets) {
        fillColumn(target, image.data(), records0, format.recordSize, perFile, first);
        for (std::size_t k = 0; k < table.recordsOnStationBlock(); ++k) {
          if (target.fromStationBlock || !table.isMissing(*target.field, k)) continue;
          if (target.numbers) target.numbers[first + k] = std::nan("");
          if (target.integers) target.integers[first + k] = 0;
          if (target.missing) target.missing[first + k] = true;
        }
      }
    }
  }
  if (interrupted) throw py::error_already_set();
  if (!failed.empty()) raiseOsError(failure, failed);

  py::list names, files;
  for (const TableColumn& column : columns) names.append(column.name);
  for (const std::string& path : paths) {
    files.append(fileSystemText(parseObservationFileName(path, directorySeparators()).fileName));
  }
  py::dict result;
  result["names"] = names;
  result["files"] = files;
  result["records_per_file"] = perFile;
  result["numbers"] = numbers;
  result["number_columns"] = numberColumns;
  result["integers"] = integers;
  result["integer_columns"] = integerColumns;
  result["missing"] = missing;
  result["nullable_columns"] = nullableColumns;
  result["record"] = records;
  result["time"] = table.hasTime() ? py::object(times) : py::none();
  result["times_out_of_range"] = timesOutOfRange;
  return result;
}

// Every record format, as the conversion rules select them.
py::list formats() {
  py::list list;
  for (const ConversionRule& rule : conversionRules()) {
    const RecordFormat& format = rule.converter->format();
    py::dict entry;
    entry["kind"] = std::string(rule.kind);
    entry["interval"] = std::string(rule.interval);
    entry["first_date"] = std::string(rule.firstDate);
    // The first date outside the format, as the rules compare it.
    entry["end_date"] = rule.endDate.empty() ? py::object(py::none())
                                             : py::object(py::str(std::string(rule.endDate)));
    entry["example"] = std::string(rule.kind) + "_" + std::string(rule.interval) + "_" +
                       std::string(rule.firstDate);
    entry["records"] = format.recordCount;
    // The sheet's columns, and the table's: file, record and time too.
    entry["sheet_columns"] = columnCount(format);
    entry["columns"] = DataTable(format).columns().size();
    list.append(entry);
  }
  return list;
}

py::str columns(const std::string& format, bool raw) {
  const RecordFormat* selected = formatOfName(format);
  if (selected == nullptr) raiseValueError(format + " is not a conversion target");
  return columnDescriptionCsv(DataTable(*selected, raw));
}

}  // namespace
}  // namespace fenmarq

PYBIND11_MODULE(_fenmarq, module) {
  module.doc() = "JMA observation day files as NumPy column blocks (see the fenmarq package)";
  module.def("check", &fenmarq::check, py::arg("paths"),
             "Checks that every path names a readable day file of one format; returns the "
             "warning texts of files shorter than their layout.");
  module.def("read", &fenmarq::read, py::arg("paths"), py::arg("raw") = false,
             "Reads the day files into column blocks, with the interpreter released.");
  module.def("formats", &fenmarq::formats, "Every record format.");
  module.def("columns", &fenmarq::columns, py::arg("format"), py::arg("raw") = false,
             "The column description of a format, as CSV text.");
}
