// One stress input through the program's dictionary code: either CPhoneticDb as
// the program uses it (connect, open the recordset, look characters up; failures
// shown in message boxes, which the test's answerer records and closes), or the
// ADO objects directly in the same steps, with odd calls on the open recordset.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Random.h"
#include "support/DictionaryFile.h"

namespace stress {

struct Lookup {
    std::wstring character;               // one UTF-16 code unit
    std::optional<std::wstring> phonetic; // the spelling when found
};

struct ProbeResult {
    std::vector<std::wstring> errors;  // every error the user would see, in order
    std::vector<Lookup> lookups;       // in the order of the characters asked for
    std::vector<std::string> faults;   // what must never happen (a throw from a look-up, ...)
    bool refusedColumns = false;       // the table opened but lacks columns 1 and 2 (ADO path)
};

ProbeResult ProbeThroughPhoneticDb(const std::vector<std::wstring>& characters, Rng& rng);
// oddConnection: the program's connection string with a few units changed.
ProbeResult ProbeThroughAdo(const std::vector<std::wstring>& characters, Rng& rng, bool oddConnection);

// Whether an error text is one the dictionary layer documents: the file cannot be
// opened (and why), the query failed (and why), the connection is not open, the
// table lacks columns 1 and 2, or the connection string names no file.
// `generic` is set for SQLite's catch-all reason.
bool IsDocumentedError(const std::wstring& text, bool* generic = nullptr);

using test_support::kDictionaryPath;

}  // namespace stress
