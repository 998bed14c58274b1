// Stress run of the dictionary layer under Wine: many generated dictionary files
// (well-formed ones of odd shapes, and cut, bit-flipped, overwritten, random,
// empty, missing, folder and locked ones) are put at the program's dictionary
// path, one after another, and each is read through CPhoneticDb (with its message
// boxes) or through the ADO objects in the same steps. Each outcome is checked
// against SQLite reading the same file directly:
//   - a file SQLite reads must open without a message, and every look-up must
//     give what SQLite's rows give (first row whose column 1 is the character,
//     column 2 as text or empty); a table without columns 1 and 2 is refused once;
//   - a file SQLite cannot read must give the documented messages, and no look-up
//     may find anything or throw;
//   - odd calls on the recordset fail only with a description;
//   - kernel handles, GDI and USER objects do not grow; memory is reported.
//
//   dict_stress [--inputs N] [--seed S] [--db-every K] [--report-every R]
//   dict_stress --replay <saved input>
// K: every K-th input goes through CPhoneticDb and its message boxes (default 10);
// R: a line of progress and figures every R inputs (default 10000).
// Exit status 0 when nothing was found. Inputs that gave a finding are saved as
// stress-findings\<seed>-<index>.db in the current folder.
#include <afxwin.h>
#include <ado.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <string>

#include "Inputs.h"
#include "Oracle.h"
#include "ProcessFigures.h"
#include "Probe.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"

using namespace stress;

namespace {

struct Options {
    long inputs = 100000;
    uint64_t seed = 1;
    long dbEvery = 10;
    long reportEvery = 10000;
};

Options ParseOptions(int argc, char** argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--inputs"))
            o.inputs = std::strtol(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--seed"))
            o.seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--report-every"))
            o.reportEvery = std::max(1L, std::strtol(argv[i + 1], nullptr, 10));
        else if (!std::strcmp(argv[i], "--db-every"))
            o.dbEvery = std::max(1L, std::strtol(argv[i + 1], nullptr, 10));
    }
    return o;
}

// SQLite's files beside a database: a header that says WAL mode makes a reader
// that is not immutable make the first two, and they would carry one input's
// state into the next.
const wchar_t* const kSiblings[] = {L"-wal", L"-shm", L"-journal"};

bool RemoveSiblings()
{
    bool found = false;
    for (const wchar_t* suffix : kSiblings)
        found |= DeleteFileW((std::wstring(kDictionaryPath) + suffix).c_str()) != FALSE;
    return found;
}

// Puts the input at the dictionary path; for a locked file returns the handle
// that holds it.
HANDLE Place(const Input& in)
{
    RemoveDirectoryW(kDictionaryPath);
    switch (in.kind) {
    case FileKind::Missing:
        DeleteFileW(kDictionaryPath);
        return nullptr;
    case FileKind::Folder:
        DeleteFileW(kDictionaryPath);
        CreateDirectoryW(kDictionaryPath, nullptr);
        return nullptr;
    default:
        break;
    }
    try {
        test_support::WriteFileBytes(kDictionaryPath, in.bytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot write the dictionary file: %s\n", e.what());
        std::exit(2);
    }
    if (in.kind != FileKind::Locked)
        return nullptr;
    return CreateFileW(kDictionaryPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// The characters asked for: some that the table holds, some of the alphabet the
// tables are made of, and any code unit; always one UTF-16 unit, as the program
// asks.
std::vector<std::wstring> ChooseCharacters(const OracleView& view, Rng& rng)
{
    std::vector<std::wstring> out;
    for (size_t n = rng.Between(1, 4); n && !view.rows.empty(); --n) {
        const OracleRow& row = view.rows[rng.Below(view.rows.size())];
        if (row.character && !row.character->empty() && (*row.character)[0] != 0)
            out.emplace_back(1, (*row.character)[0]);
    }
    out.emplace_back(1, Alphabet()[rng.Below(Alphabet().size())]);
    out.emplace_back(1, static_cast<wchar_t>(rng.Between(1, 0xFFFF)));
    return out;
}

// UTF-8 for the report, long texts cut short.
std::string Printable(const std::wstring& s)
{
    return Utf8(s.size() > 200 ? s.substr(0, 200) + L"…" : s);
}

struct Tally {
    std::map<std::string, long> kinds;
    long throughDb = 0, throughAdo = 0, oddConnections = 0;
    long opened = 0, refusedColumns = 0, failed = 0, genericReasons = 0;
    long lookups = 0, found = 0;
    long findings = 0;
    long siblingsLeft = 0;  // inputs after which -wal/-shm files stood beside the dictionary
    double makeSecs = 0, placeSecs = 0, oracleSecs = 0, probeSecs = 0;
};

double SecondsSince(std::chrono::steady_clock::time_point& t)
{
    const auto now = std::chrono::steady_clock::now();
    const double secs = std::chrono::duration<double>(now - t).count();
    t = now;
    return secs;
}

class Run {
public:
    explicit Run(const Options& o) : m_options(o), m_rng(o.seed), m_pool(m_rng) {}

    int Go();

private:
    void One(long index);
    void Finding(long index, const Input& in, const std::string& what);

    Options m_options;
    Rng m_rng;
    ImagePool m_pool;
    Tally m_tally;
    std::wstring m_exeName;
};

void Run::Finding(long index, const Input& in, const std::string& what)
{
    ++m_tally.findings;
    std::printf("FINDING at input %ld (%s): %s\n", index, Name(in.kind), what.c_str());
    if (m_tally.findings <= 50 && !in.bytes.empty()) {
        CreateDirectoryW(L"stress-findings", nullptr);
        const std::wstring file = L"stress-findings\\" + std::to_wstring(m_options.seed) + L"-" +
                                  std::to_wstring(index) + L".db";
        try {
            test_support::WriteFileBytes(file, in.bytes);
        } catch (const std::exception& e) {
            std::printf("  (not saved: %s)\n", e.what());
        }
    }
}

void Run::One(long index)
{
    auto t = std::chrono::steady_clock::now();
    if (index % 500 == 499)
        m_pool.Refresh(m_rng, 4);
    const Input in = MakeInput(m_pool, m_rng);
    ++m_tally.kinds[Name(in.kind)];
    m_tally.makeSecs += SecondsSince(t);
    const HANDLE lock = Place(in);
    m_tally.placeSecs += SecondsSince(t);
    const OracleView view = ReadWithSqlite(kDictionaryPath);
    const std::vector<std::wstring> characters = ChooseCharacters(view, m_rng);
    m_tally.oracleSecs += SecondsSince(t);

    const bool throughDb = index % m_options.dbEvery == 0;
    const bool odd = !throughDb && m_rng.OneIn(20);
    const ProbeResult result = throughDb ? ProbeThroughPhoneticDb(characters, m_rng)
                                         : ProbeThroughAdo(characters, m_rng, odd);
    if (lock)
        CloseHandle(lock);
    // Nothing may be made beside the dictionary: the program only reads it.
    if (RemoveSiblings()) {
        ++m_tally.siblingsLeft;
        Finding(index, in, "files were made beside the dictionary (-wal, -shm or -journal)");
    }
    m_tally.probeSecs += SecondsSince(t);
    (throughDb ? m_tally.throughDb : m_tally.throughAdo)++;
    m_tally.oddConnections += odd;

    for (const std::string& fault : result.faults)
        Finding(index, in, fault);
    bool generic = false;
    for (const std::wstring& error : result.errors)
        if (!IsDocumentedError(error, &generic))
            Finding(index, in, "an error nobody documents: \"" + Printable(error) + "\"");
    m_tally.genericReasons += generic;
    if (throughDb)
        for (const MessageBoxRecord& box : Boxes().Taken())
            if (box.caption != m_exeName || box.buttons != std::vector<int>{IDOK})
                Finding(index, in, "a message box titled \"" + Printable(box.caption) + "\" or not with OK alone");

    // Through CPhoneticDb the refusal of a table without columns 1 and 2 is a box of
    // its own (one per OpenRecordset); the file itself opened.
    size_t refusals = 0;
    for (const std::wstring& error : result.errors)
        refusals += error.starts_with(L"词典数据不可用");
    const bool refused = throughDb ? refusals > 0 : result.refusedColumns;
    const bool openedQuietly = refusals == result.errors.size();
    if (openedQuietly)
        ++(refused ? m_tally.refusedColumns : m_tally.opened);
    else
        ++m_tally.failed;

    // Odd connection strings may name another file or none: only a quiet open of
    // this same file has answers to compare.
    if (odd && !openedQuietly)
        return;
    if (view.readable != openedQuietly)
        Finding(index, in, view.readable ? "SQLite reads the file but the program said: " +
                                               (result.errors.empty() ? std::string("(nothing)")
                                                                      : Printable(result.errors.front()))
                                         : "SQLite cannot read the file but the program opened it quietly");
    else if (view.readable && refused != (view.columns < 3))
        Finding(index, in, "a table of " + std::to_string(view.columns) + " columns was " +
                               (refused ? "refused" : "taken"));
    for (const Lookup& lookup : result.lookups) {
        ++m_tally.lookups;
        m_tally.found += lookup.phonetic.has_value();
        const std::optional<std::wstring> expected = view.Lookup(lookup.character);
        if (expected != lookup.phonetic)
            Finding(index, in,
                    "U+" + std::to_string(static_cast<unsigned>(lookup.character[0])) + " gave " +
                        (lookup.phonetic ? "\"" + Printable(*lookup.phonetic) + "\"" : "not found") + ", SQLite's rows give " +
                        (expected ? "\"" + Printable(*expected) + "\"" : "not found"));
    }
}

int Run::Go()
{
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    m_exeName = module;
    m_exeName = m_exeName.substr(m_exeName.find_last_of(L"\\/") + 1);
    m_exeName = m_exeName.substr(0, m_exeName.rfind(L'.'));

    const std::optional<std::string> original = test_support::ReadFileBytes(kDictionaryPath);
    RemoveSiblings();
    std::printf("dictionary stress: %ld inputs, seed %llu, every %ld-th through CPhoneticDb\n", m_options.inputs,
                static_cast<unsigned long long>(m_options.seed), m_options.dbEvery);
    const auto start = std::chrono::steady_clock::now();
    // The first inputs make what lives as long as the process (window classes of the
    // message boxes, COM's class objects, SQLite's caches): figures count from then on.
    const long warmUp = std::min(m_options.inputs / 10, 200L);
    std::printf("pool of well-formed files: average %.1f KB\n", m_pool.AverageBytes() / 1024.0);
    ProcessFigures first = ProcessFigures::Now(), baseline = first;
    std::printf("at start:        %s\n", first.Line().c_str());
    for (long i = 0; i < m_options.inputs; ++i) {
        if (i == warmUp) {
            baseline = ProcessFigures::Now();
            std::printf("after %4ld inputs: %s\n", i, baseline.Line().c_str());
        }
        One(i);
        if ((i + 1) % m_options.reportEvery == 0) {
            const double secs =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("%7ld inputs, %.0f s, %ld findings; %s\n", i + 1, secs, m_tally.findings,
                        ProcessFigures::Now().Line().c_str());
            std::fflush(stdout);
        }
    }
    const ProcessFigures end = ProcessFigures::Now();
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    RemoveDirectoryW(kDictionaryPath);
    if (original)
        test_support::WriteFileBytes(kDictionaryPath, *original);
    else
        DeleteFileW(kDictionaryPath);

    std::printf("at end:          %s\n", end.Line().c_str());
    std::printf("growth after warm-up: %s\n", end.GrowthSince(baseline).c_str());
    std::printf("%ld inputs in %.0f s (%.0f per second):", m_options.inputs, secs, m_options.inputs / secs);
    for (const auto& [kind, count] : m_tally.kinds)
        std::printf(" %s %ld,", kind.c_str(), count);
    std::printf("\n  through CPhoneticDb %ld, through ADO %ld (odd connection strings %ld)\n", m_tally.throughDb,
                m_tally.throughAdo, m_tally.oddConnections);
    std::printf("  opened %ld, refused for lacking columns 1 and 2 %ld, failed with a message %ld"
                " (SQLite's catch-all reason %ld)\n",
                m_tally.opened, m_tally.refusedColumns, m_tally.failed, m_tally.genericReasons);
    std::printf("  look-ups %ld, found %ld\n", m_tally.lookups, m_tally.found);
    std::printf("  inputs after which files stood beside the dictionary (-wal, -shm, -journal): %ld\n",
                m_tally.siblingsLeft);
    std::printf("  time: making inputs %.0f s, writing them %.0f s, SQLite's reading %.0f s, the program's %.0f s\n",
                m_tally.makeSecs, m_tally.placeSecs, m_tally.oracleSecs, m_tally.probeSecs);

    // Handles and window objects must come back to where they were; memory may
    // move with the heap, but not by megabytes per thousand inputs.
    const long handleGrowth = static_cast<long>(end.handles) - static_cast<long>(baseline.handles);
    const long guiGrowth = static_cast<long>(end.gdiObjects + end.userObjects) -
                           static_cast<long>(baseline.gdiObjects + baseline.userObjects);
    const double privateGrowthMb = (static_cast<double>(end.privateBytes) - baseline.privateBytes) / 1048576.0;
    if (handleGrowth > 16 || guiGrowth > 8) {
        std::printf("FINDING: handles or window objects grew\n");
        ++m_tally.findings;
    }
    if (privateGrowthMb > 8 + m_options.inputs / 1000.0) {
        std::printf("FINDING: private bytes grew by %.1f MB\n", privateGrowthMb);
        ++m_tally.findings;
    }
    std::printf("%ld findings\n", m_tally.findings);
    return m_tally.findings ? 1 : 0;
}

}  // namespace

// Reads one saved input again through SQLite, the ADO objects and CPhoneticDb, and
// prints what each made of it.
int Replay(const wchar_t* file)
{
    const std::optional<std::string> bytes = test_support::ReadFileBytes(file);
    if (!bytes) {
        std::printf("cannot read the input file\n");
        return 2;
    }
    const std::optional<std::string> original = test_support::ReadFileBytes(kDictionaryPath);
    Input in;
    in.bytes = *bytes;
    Place(in);
    const OracleView view = ReadWithSqlite(kDictionaryPath);
    std::printf("SQLite: %s, %d columns, %zu rows\n", view.readable ? "readable" : "NOT readable", view.columns,
                view.rows.size());
    std::vector<std::wstring> characters;
    for (const OracleRow& row : view.rows)
        if (row.character && row.character->size() == 1)
            characters.push_back(*row.character);
    Rng rng(1);
    for (int through = 0; through < 2; ++through) {
        const ProbeResult r = through ? ProbeThroughPhoneticDb(characters, rng) : ProbeThroughAdo(characters, rng, false);
        std::printf("%s:\n", through ? "CPhoneticDb" : "ADO");
        for (const std::wstring& e : r.errors)
            std::printf("  error: %s\n", Printable(e).c_str());
        for (const std::string& f : r.faults)
            std::printf("  fault: %s\n", f.c_str());
        size_t agree = 0;
        for (const Lookup& l : r.lookups)
            agree += view.Lookup(l.character) == l.phonetic;
        std::printf("  %zu of %zu look-ups agree with SQLite\n", agree, r.lookups.size());
    }
    RemoveSiblings();
    if (original)
        test_support::WriteFileBytes(kDictionaryPath, *original);
    return 0;
}

int main(int argc, char** argv)
{
    Boxes().MarkMainStarted();
    CoInitialize(nullptr);
    ado::RegisterClassObjects();
    if (argc == 3 && !std::strcmp(argv[1], "--replay")) {
        const int n = MultiByteToWideChar(CP_ACP, 0, argv[2], -1, nullptr, 0);
        std::wstring file(static_cast<size_t>(n), L'\0');
        MultiByteToWideChar(CP_ACP, 0, argv[2], -1, file.data(), n);
        return Replay(file.c_str());
    }
    try {
        Run run(ParseOptions(argc, argv));
        return run.Go();
    } catch (const std::exception& e) {
        std::printf("the run could not go on: %s\n", e.what());
        return 2;
    }
}
