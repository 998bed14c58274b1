// Query results shared between recordsets. A program that opens the same query on
// the same file twice (two objects, each with its connection and recordset) gets
// one copy of the rows: the second recordset takes the first one's table instead
// of reading it again. Each recordset keeps its own position.
//
// A table is shared only while the file is unchanged: the file is identified by its
// full path, size, last-write time and a hash of all its bytes, taken before the rows
// are read and again after, so a file rewritten in place (even to the same size in
// the same instant) is read afresh. A shared table lives as long as a recordset
// holds it; the last one to let go frees it.
#pragma once

#include "ResultTable.h"

#include <cstdint>
#include <memory>
#include <string>

struct sqlite3;

namespace ado::detail {

using SharedTable = std::shared_ptr<const ResultTable>;

// The rows of sql on db, the connection to the file at path: a table already held
// for the same query on the same, unchanged file, or else one read now (and offered
// to later recordsets when its rows follow from the file alone). Null with *error
// set when the query fails.
SharedTable ReadRows(sqlite3* db, const std::wstring& path, const std::wstring& sql, std::wstring* error);

}  // namespace ado::detail
