#include "ResultTable.h"

#include <cstring>
#include <new>

namespace ado::detail {

bool ResultTable::CopyCell(size_t row, size_t column, VARIANT* out) const
{
    VariantInit(out);
    const Cell& cell = m_cells[row * m_columns + column];
    switch (cell.kind) {
    case kText: {
        // The usual case: one allocation, straight from the shared buffer.
        BSTR copy = SysAllocStringLen(m_text.data() + cell.data, cell.size);
        if (!copy)
            return false;
        V_VT(out) = VT_BSTR;
        V_BSTR(out) = copy;
        return true;
    }
    case kInt32:
        V_VT(out) = VT_I4;
        V_I4(out) = static_cast<LONG>(static_cast<std::int32_t>(cell.data));
        return true;
    case kInt64:
        V_VT(out) = VT_I8;
        V_I8(out) = static_cast<LONGLONG>(m_wide[cell.data]);
        return true;
    case kReal: {
        double value;
        std::memcpy(&value, &m_wide[cell.data], sizeof value);
        V_VT(out) = VT_R8;
        V_R8(out) = value;
        return true;
    }
    case kBlob: {
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, cell.size);
        if (!array)
            return false;
        if (cell.size > 0)
            std::memcpy(array->pvData, m_bytes.data() + cell.data, cell.size);
        V_VT(out) = VT_ARRAY | VT_UI1;
        V_ARRAY(out) = array;
        return true;
    }
    default:
        V_VT(out) = VT_NULL;
        return true;
    }
}

bool ResultTable::Push(Kind kind, std::uint32_t size, std::uint64_t data)
{
    if (data > UINT32_MAX)   // an offset or index beyond what a cell holds
        return false;
    try {
        m_cells.push_back(Cell{kind, size, static_cast<std::uint32_t>(data)});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ResultTable::AppendNull()
{
    return Push(kNull, 0, 0);
}

bool ResultTable::AppendInteger(std::int64_t value)
{
    if (value >= INT32_MIN && value <= INT32_MAX)
        return Push(kInt32, 0, static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
    const size_t index = m_wide.size();
    try {
        m_wide.push_back(static_cast<std::uint64_t>(value));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return Push(kInt64, 0, index);
}

bool ResultTable::AppendReal(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const size_t index = m_wide.size();
    try {
        m_wide.push_back(bits);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return Push(kReal, 0, index);
}

bool ResultTable::TextSpace(size_t length, wchar_t** out)
{
    if (length > kMaxSize)
        return false;
    const size_t offset = m_text.size();
    try {
        m_text.resize(offset + length);
    } catch (const std::bad_alloc&) {
        return false;
    }
    *out = m_text.data() + offset;
    return true;
}

void ResultTable::DropText(size_t length)
{
    m_text.resize(m_text.size() - length);
}

bool ResultTable::AppendText(size_t length)
{
    return Push(kText, static_cast<std::uint32_t>(length), m_text.size() - length);
}

bool ResultTable::AppendBlob(const void* data, size_t size)
{
    if (size > kMaxSize)
        return false;
    const size_t offset = m_bytes.size();
    try {
        m_bytes.resize(offset + size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (size > 0)
        std::memcpy(m_bytes.data() + offset, data, size);
    return Push(kBlob, static_cast<std::uint32_t>(size), offset);
}

}  // namespace ado::detail
