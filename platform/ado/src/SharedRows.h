// One copy of the rows for recordsets of one query on one unchanged file: a program
// that opens the same query twice (two objects, each with its connection and
// recordset) reads the file once. Each recordset keeps its own position.
//
// A file counts as unchanged while its full path, size and last-write time are the
// same. The rows live as long as a recordset holds them.
#pragma once

#include "ResultTable.h"

#include <memory>
#include <string>

struct sqlite3;

namespace ado::detail {

using SharedRows = std::shared_ptr<const ResultTable>;

// The rows of sql on db, the open connection to the file at path: those a recordset
// holds for the same query on the same unchanged file, or else read now. Null with
// *error set when the query fails. Called from one thread only, as the recordsets
// are apartment-bound.
SharedRows ReadRows(sqlite3* db, const std::wstring& path, const std::wstring& sql, std::wstring* error);

}  // namespace ado::detail
