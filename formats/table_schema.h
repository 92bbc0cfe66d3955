// What each column of an analysis table holds, for programs and for people:
// a Frictionless Table Schema (JSON) beside the table, and the same
// description as a CSV table.
#ifndef FENMARQ_FORMATS_TABLE_SCHEMA_H_
#define FENMARQ_FORMATS_TABLE_SCHEMA_H_

#include <string>

namespace fenmarq {

class DataTable;

// The Table Schema of `table` with its columns named as writeHeader names
// them: for every column its name, title, type and unit; for a field its
// column, label, unit cell and type in the sheet, its encoding (offset,
// scale, the note it follows, or why it is kept as stored) and whether the
// column holds the decoded value. Empty cells are missing values.
std::string tableSchemaJson(const DataTable& table, bool asciiNames);

// The same description, one row per column, as UTF-8 CSV with a header row.
std::string columnDescriptionCsv(const DataTable& table);

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_TABLE_SCHEMA_H_
