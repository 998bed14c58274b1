#include "ResultTable.h"

#include <climits>
#include <cstring>
#include <new>

namespace ado::detail {
namespace {

// Beyond what a BSTR or a SAFEARRAY can hold.
void CheckSize(size_t size)
{
    if (size > UINT32_MAX / 2)
        throw std::bad_alloc();
}

}  // namespace

bool ResultTable::CopyCell(size_t row, size_t column, VARIANT* out) const
{
    VariantInit(out);
    const Cell& cell = m_cells[row * m_columns + column];
    switch (cell.kind) {
    case kText: {
        BSTR copy = SysAllocStringLen(m_text.data() + cell.offset, cell.size);
        if (!copy)
            return false;
        V_VT(out) = VT_BSTR;
        V_BSTR(out) = copy;
        return true;
    }
    case kInteger:
        if (cell.integer >= INT_MIN && cell.integer <= INT_MAX) {
            V_VT(out) = VT_I4;
            V_I4(out) = static_cast<LONG>(cell.integer);
        } else {
            V_VT(out) = VT_I8;
            V_I8(out) = cell.integer;
        }
        return true;
    case kReal:
        V_VT(out) = VT_R8;
        V_R8(out) = cell.real;
        return true;
    case kBlob: {
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, cell.size);
        if (!array)
            return false;
        if (cell.size > 0)
            std::memcpy(array->pvData, m_bytes.data() + cell.offset, cell.size);
        V_VT(out) = VT_ARRAY | VT_UI1;
        V_ARRAY(out) = array;
        return true;
    }
    default:
        V_VT(out) = VT_NULL;
        return true;
    }
}

void ResultTable::AppendInteger(std::int64_t value)
{
    Cell cell{kInteger, 0, {}};
    cell.integer = value;
    m_cells.push_back(cell);
}

void ResultTable::AppendReal(double value)
{
    Cell cell{kReal, 0, {}};
    cell.real = value;
    m_cells.push_back(cell);
}

void ResultTable::AppendText(const wchar_t* text, size_t length)
{
    CheckSize(length);
    Cell cell{kText, static_cast<std::uint32_t>(length), {}};
    cell.offset = m_text.size();
    m_text.insert(m_text.end(), text, text + length);
    m_cells.push_back(cell);
}

void ResultTable::AppendBlob(const void* data, size_t size)
{
    CheckSize(size);
    Cell cell{kBlob, static_cast<std::uint32_t>(size), {}};
    cell.offset = m_bytes.size();
    m_bytes.insert(m_bytes.end(), static_cast<const unsigned char*>(data),
                   static_cast<const unsigned char*>(data) + size);
    m_cells.push_back(cell);
}

}  // namespace ado::detail
