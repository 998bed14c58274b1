#include "Probe.h"

#include <afxwin.h>
#include <ado.h>

#include <cwchar>

#include "dictionary/FindPhonetic.h"
#include "dictionary/PhoneticDb.h"
#include "support/MessageBoxes.h"

namespace stress {

namespace {

const wchar_t kQuery[] = L"select * from cantonesePhonetic";
const wchar_t kConnection[] =
    L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\abc.mp3;Persist Security Info=False";

bool StartsWith(const std::wstring& s, const std::wstring& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The reasons the ADO layer gives after "cannot open" or "query failed".
bool IsKnownReason(const std::wstring& rest, bool* generic)
{
    static const wchar_t* const kReasons[] = {
        L"连接字符串中没有给出数据库文件（Data Source）", L"这是一个文件夹，不是数据库文件", L"文件不存在",
        L"没有读取这个文件的权限", L"文件正被其他程序独占使用，暂时无法读取", L"无法读取这个文件（系统错误 ",
        L"文件是空的，里面没有数据库", L"文件不是 SQLite 数据库（格式不对，或者已经损坏）",
        L"数据库文件已损坏或不完整", L"无法打开文件", L"数据库正被其他程序锁定", L"读取文件时出错", L"内存不足",
        L"数据库有一次未完成的写入需要恢复，只读打开时无法恢复", L"没有读取权限",
        L"查询语句有误，或者所查的表、列不存在"};
    for (const wchar_t* reason : kReasons)
        if (StartsWith(rest, reason))
            return true;
    if (StartsWith(rest, L"数据库引擎报告了错误")) {
        if (generic)
            *generic = true;
        return true;
    }
    return false;
}

std::wstring DescriptionOf(const _com_error& e)
{
    const _bstr_t d = e.Description();
    return d.length() ? std::wstring(static_cast<const wchar_t*>(d), d.length()) : std::wstring();
}

void Compare(const _RecordsetPtr& rs, const std::vector<std::wstring>& characters, ProbeResult& result)
{
    for (const std::wstring& ch : characters) {
        Lookup lookup{ch, std::nullopt};
        try {
            if (FindPhonetic(rs, CString(ch.c_str(), static_cast<int>(ch.size())))) {
                const CString phonetic = ReadPhonetic(rs);
                lookup.phonetic = std::wstring(phonetic.GetString(), static_cast<size_t>(phonetic.GetLength()));
            }
        } catch (const _com_error& e) {
            char code[16];
            std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(e.Error()));
            result.faults.push_back(std::string("a look-up threw _com_error 0x") + code);
        }
        result.lookups.push_back(std::move(lookup));
    }
}

// Calls a program never makes, each of which must succeed or fail with a
// description: columns out of range or by odd names, moving past either end,
// values where there is no row.
void Poke(const _RecordsetPtr& rs, Rng& rng, ProbeResult& result)
{
    const auto call = [&](auto&& fn) {
        try {
            fn();
        } catch (const _com_error& e) {
            const std::wstring d = DescriptionOf(e);
            if (d.empty() || SUCCEEDED(e.Error()))
                result.faults.push_back("a recordset call failed without a description");
        }
    };
    for (int n = static_cast<int>(rng.Between(1, 6)); n; --n) {
        switch (rng.Below(6)) {
        case 0: {
            static const long kIndexes[] = {-1, 0, 1, 2, 3, 6, 1000, 0x7FFFFFFF};
            call([&] { rs->GetFields()->GetItem(_variant_t(kIndexes[rng.Below(8)]))->GetValue(); });
            break;
        }
        case 1: {
            static const wchar_t* const kNames[] = {L"c1", L"C2", L"character", L"", L"你", L"c0 "};
            call([&] { rs->GetFields()->GetItem(_variant_t(kNames[rng.Below(6)]))->GetValue(); });
            break;
        }
        case 2:
            call([&] {
                for (int i = 0; i < 5; ++i)
                    rs->MoveNext();
            });
            break;
        case 3:
            call([&] { rs->MoveFirst(); });
            break;
        case 4:
            call([&] { (void)rs->GetRecordCount(); });
            break;
        default:
            call([&] {
                rs->MoveFirst();
                for (long i = 0; i <= static_cast<long>(rs->GetRecordCount()); ++i)
                    rs->MoveNext();
                rs->GetFields()->GetItem(_variant_t(1L))->GetValue();
            });
            break;
        }
    }
}

}  // namespace

bool IsDocumentedError(const std::wstring& text, bool* generic)
{
    // The path is the one the connection string named: an odd string may spell the
    // same file otherwise (C:\\WINDOWS\system32\abc.mp3) or name another.
    const std::wstring query = kQuery;
    if (StartsWith(text, L"无法打开数据库文件 ")) {
        const size_t colon = text.find(L"：");
        return colon != std::wstring::npos && IsKnownReason(text.substr(colon + 1), generic);
    }
    const std::wstring failed = L" 中执行查询“" + query + L"”失败：";
    const size_t at = text.find(failed);
    if (StartsWith(text, L"在数据库 ") && at != std::wstring::npos)
        return IsKnownReason(text.substr(at + failed.size()), generic);
    if (text == L"数据库连接没有打开，无法执行查询“" + query + L"”。")
        return true;
    if (StartsWith(text, L"词典数据不可用：数据表只有 "))
        return true;
    return StartsWith(text, L"连接字符串“") && text.ends_with(L"”中没有给出数据库文件（Data Source）。");
}

ProbeResult ProbeThroughPhoneticDb(const std::vector<std::wstring>& characters, Rng& rng)
{
    ProbeResult result;
    Boxes().Reset();
    {
        CPhoneticDb db;
        db.OpenRecordset(_bstr_t(kQuery));
        if (rng.OneIn(8))
            db.OpenRecordset(_bstr_t(kQuery));   // replaces the first one
        Compare(db.m_pRecordset, characters, result);
    }
    for (const MessageBoxRecord& box : Boxes().Taken())
        result.errors.push_back(box.text);
    return result;
}

ProbeResult ProbeThroughAdo(const std::vector<std::wstring>& characters, Rng& rng, bool oddConnection)
{
    ProbeResult result;
    std::wstring connection = kConnection;
    if (oddConnection) {
        for (size_t n = rng.Between(1, 4); n; --n) {
            const size_t at = rng.Below(connection.size() + 1);
            static const wchar_t kOdd[] = {L';', L'=', L'"', L'\'', L' ', L'\\', 0x4F60, 0xD800, L'a'};
            const wchar_t c = kOdd[rng.Below(sizeof kOdd / sizeof kOdd[0])];
            if (at < connection.size() && rng.OneIn(2))
                connection[at] = c;
            else
                connection.insert(at, 1, c);
        }
    }

    _ConnectionPtr conn;
    _RecordsetPtr rs;
    try {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(L"ADODB.Connection", &clsid)))
            clsid = __uuidof(Connection);
        if (FAILED(conn.CreateInstance(clsid)) || FAILED(rs.CreateInstance(__uuidof(Recordset)))) {
            result.faults.push_back("the ADO objects cannot be created");
            return result;
        }
        conn->PutCursorLocation(adUseClient);
        conn->Open(_bstr_t(connection.c_str()), L"", L"", 0);
    } catch (const _com_error& e) {
        result.errors.push_back(DescriptionOf(e));
    }
    try {
        rs->Open(_variant_t(kQuery), _variant_t(static_cast<IDispatch*>(conn.GetInterfacePtr()), true),
                 adOpenDynamic, adLockOptimistic, adCmdText);
        // As CPhoneticDb does: a table without columns 1 and 2 is refused once, here.
        if (rs->GetFields()->GetCount() < 3) {
            rs->Close();
            result.refusedColumns = true;
        }
    } catch (const _com_error& e) {
        result.errors.push_back(DescriptionOf(e));
    }
    Compare(rs, characters, result);
    Poke(rs, rng, result);
    return result;
}

}  // namespace stress
