#include "FailingRecordset.h"

#include <cstdint>
#include <cstring>

const wchar_t kInjectedFailure[] = L"词典文件读取出错（测试注入）";

namespace {

int g_calls = 0;

// Where a virtual member sits in its vtable. GCC (Itanium C++ ABI, also on
// MinGW) stores a virtual member-function pointer as 1 + its byte offset.
template <class Pmf>
size_t VtableIndex(Pmf pmf)
{
    struct ItaniumPmf {
        uintptr_t ptr;
        ptrdiff_t adj;
    };
    static_assert(sizeof(Pmf) == sizeof(ItaniumPmf));
    ItaniumPmf raw;
    std::memcpy(&raw, &pmf, sizeof raw);
    return (raw.ptr - 1) / sizeof(void*);
}

HRESULT STDMETHODCALLTYPE FailMoveFirst(_Recordset*)
{
    ++g_calls;
    ICreateErrorInfo* create = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&create))) {
        create->SetDescription(const_cast<LPOLESTR>(kInjectedFailure));
        create->SetGUID(__uuidof(_Recordset));
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
        create->Release();
    }
    return E_FAIL;
}

}  // namespace

FailingMoveFirst::FailingMoveFirst(const _RecordsetPtr& rs) : m_rs(rs)
{
    g_calls = 0;
    _Recordset* object = m_rs.GetInterfacePtr();
    void*** vptr = reinterpret_cast<void***>(object);
    m_original = *vptr;
    const size_t count = VtableIndex(&_Recordset::raw_Save) + 1;
    m_patched.assign(m_original, m_original + count);
    m_patched[VtableIndex(&Recordset15::raw_MoveFirst)] = reinterpret_cast<void*>(&FailMoveFirst);
    *vptr = m_patched.data();
}

FailingMoveFirst::~FailingMoveFirst()
{
    *reinterpret_cast<void***>(m_rs.GetInterfacePtr()) = m_original;
}

int FailingMoveFirst::Calls() const
{
    return g_calls;
}
