// Times FindPhonetic over a whole dictionary for a character that is not in it (the
// most a look-up ever costs), beside a plain loop over the same characters held in
// memory, which is the floor any scan has, and the cost of the one BSTR copy per row
// that reading a Value makes (the caller frees it).
//   bench_scan [dictionary]   default: C:\WINDOWS\system32\abc.mp3; when the file is
//   missing, a synthetic dictionary of 40 000 rows is made in the temporary folder.
#include "bench/Clock.h"
#include "dictionary/FindPhonetic.h"
#include "support/DictionaryFile.h"
#include "support/FileBytes.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

const wchar_t kAbsent[] = L"\xE000";   // private use: in no dictionary
const int kSyntheticRows = 40000;

std::string Utf8(const std::wstring& s)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

struct Timing {
    double best = 0, median = 0;
    int runs = 0;
};

// Runs fn repeatedly for about budgetMs (at least 5 times) and keeps each run's time.
template <class Fn>
Timing Measure(Fn fn, double budgetMs)
{
    std::vector<double> times;
    const double start = NowMs();
    while (times.size() < 5 || (NowMs() - start < budgetMs && times.size() < 100000)) {
        const double t0 = NowMs();
        fn();
        times.push_back(NowMs() - t0);
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], static_cast<int>(times.size())};
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring path = argc > 1 ? argv[1] : test_support::kDictionaryPath;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::wstring synthetic = std::wstring(temp) + L"lorvane-bench-dictionary.db";
        std::printf("%s is missing: using a synthetic dictionary of %d rows\n", Utf8(path).c_str(), kSyntheticRows);
        try {
            test_support::WriteFileBytes(
                synthetic, test_support::DatabaseImage(test_support::SyntheticDictionarySql(kSyntheticRows)));
        } catch (const std::exception& e) {
            std::printf("cannot make %s: %s\n", Utf8(synthetic).c_str(), e.what());
            return 1;
        }
        path = synthetic;
    }

    CoInitialize(nullptr);
    ado::RegisterClassObjects();
    _RecordsetPtr rs;
    std::vector<CString> inMemory;
    double openMs = 0;
    try {
        const double t0 = NowMs();
        _ConnectionPtr connection;
        connection.CreateInstance(__uuidof(Connection));
        connection->PutCursorLocation(adUseClient);
        connection->Open((L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + L";Persist Security Info=False").c_str(),
                         L"", L"", 0);
        rs.CreateInstance(__uuidof(Recordset));
        rs->Open(L"select * from cantonesePhonetic", _variant_t(static_cast<IDispatch*>(connection.GetInterfacePtr())),
                 adOpenDynamic, adLockOptimistic, adCmdText);
        openMs = NowMs() - t0;
        rs->MoveFirst();
        while (!rs->GetEOF()) {
            const _variant_t v = rs->GetFields()->GetItem(_variant_t(1L))->GetValue();
            inMemory.emplace_back(V_VT(&v) == VT_BSTR ? V_BSTR(&v) : L"");
            rs->MoveNext();
        }
    } catch (const _com_error& e) {
        const _bstr_t d = e.Description();
        std::printf("cannot read %s: %s\n", Utf8(path).c_str(), Utf8(d.length() ? static_cast<const wchar_t*>(d) : L"").c_str());
        return 1;
    }
    if (FindPhonetic(rs, kAbsent)) {
        std::printf("the probe character is in the dictionary; nothing to measure\n");
        return 1;
    }

    const CString absent(kAbsent);
    volatile int sink = 0;
    const Timing scan = Measure([&] { sink = sink + FindPhonetic(rs, absent); }, 2000);
    const Timing plain = Measure([&] {
        int hits = 0;
        for (const CString& ch : inMemory)
            hits += ch.GetLength() == absent.GetLength() && std::wmemcmp(ch.GetString(), absent.GetString(), ch.GetLength()) == 0;
        sink = sink + hits;
    }, 1000);
    // What any Value costs at the least: one BSTR copy per row, freed by the caller.
    const Timing copies = Measure([&] {
        for (const CString& ch : inMemory) {
            BSTR copy = SysAllocStringLen(ch.GetString(), ch.GetLength());
            sink = sink + static_cast<int>(SysStringLen(copy));
            SysFreeString(copy);
        }
    }, 1000);

    const double rows = static_cast<double>(inMemory.size());
    std::printf("dictionary        %s\n", Utf8(path).c_str());
    std::printf("rows              %zu\n", inMemory.size());
    std::printf("open recordset    %.1f ms (all rows read into memory)\n", openMs);
    std::printf("FindPhonetic scan %.3f ms per scan (median of %d; best %.3f), %.0f ns per row\n", scan.median,
                scan.runs, scan.best, scan.median * 1e6 / rows);
    std::printf("plain loop        %.3f ms per pass (median of %d; best %.3f), %.1f ns per row\n", plain.median,
                plain.runs, plain.best, plain.median * 1e6 / rows);
    std::printf("BSTR copy + free  %.3f ms per pass (median of %d; best %.3f), %.1f ns per row\n", copies.median,
                copies.runs, copies.best, copies.median * 1e6 / rows);
    std::printf("scan / plain loop %.0fx\n", scan.median / plain.median);
    std::printf("goal              one full scan under 5 ms: %s\n", scan.median < 5.0 ? "met" : "NOT met");
    // Machine-readable: FIGURE <tab> name <tab> value <tab> unit (collected by ./benchmarks).
    std::printf("FIGURE\tscan_absent_ms\t%.3f\tms\n", scan.median);
    std::printf("FIGURE\tscan_rows\t%zu\trows\n", inMemory.size());
    return 0;
}
