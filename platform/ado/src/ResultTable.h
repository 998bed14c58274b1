// The rows of one query, read completely when the recordset opens: what makes the
// cursor static, its count exact and every pass meet the rows in one order.
//
// Kept compact, since a dictionary has tens of thousands of rows: eight bytes per
// cell, every text back to back in one UTF-16 buffer and every blob in one byte
// buffer. A VARIANT is made only when a value is read. Once built, a table is never
// changed, so recordsets may share it.
#pragma once

#include <ole2.h>
#include <cstdint>
#include <string>
#include <vector>

namespace ado::detail {

class ResultTable {
public:
    ResultTable() = default;
    ResultTable(const ResultTable&) = delete;
    ResultTable& operator=(const ResultTable&) = delete;

    // Read on every move and every value of a scan: kept, not worked out each time.
    size_t Columns() const { return m_columns; }
    size_t Rows() const { return m_rows; }
    const std::wstring& Name(size_t column) const { return m_names[column]; }

    // A new VARIANT holding the cell: VT_BSTR for text, VT_I4 (VT_I8 beyond 32 bits),
    // VT_R8, VT_ARRAY|VT_UI1 for a blob, VT_NULL. The caller owns *out; it is left
    // VT_EMPTY and false returned when memory runs out.
    bool CopyCell(size_t row, size_t column, VARIANT* out) const;

    // Building, row after row, cell after cell. Each Append returns false when the
    // table cannot take the value (out of memory, or beyond what a cell can address).
    void SetColumns(std::vector<std::wstring> names)
    {
        m_names = std::move(names);
        m_columns = m_names.size();
    }
    bool AppendNull();
    bool AppendInteger(std::int64_t value);
    bool AppendReal(double value);
    // Room for a text of `length` UTF-16 units at *out, to be filled by the caller
    // before the next Append; DropText takes back what the last TextSpace gave.
    bool TextSpace(size_t length, wchar_t** out);
    void DropText(size_t length);
    bool AppendText(size_t length);   // the text just written into TextSpace(length)
    bool AppendBlob(const void* data, size_t size);
    // The last row is in: the table counts its rows.
    void Seal() { m_rows = m_columns ? m_cells.size() / m_columns : 0; }

private:
    enum Kind : std::uint32_t { kNull, kInt32, kInt64, kReal, kText, kBlob };
    static constexpr std::uint32_t kMaxSize = (1u << 29) - 1;
    struct Cell {
        std::uint32_t kind : 3;
        std::uint32_t size : 29;   // text: UTF-16 units; blob: bytes
        std::uint32_t data;        // int32: the value; text, blob: offset; int64, real: index in m_wide
    };
    static_assert(sizeof(Cell) == 8);
    bool Push(Kind kind, std::uint32_t size, std::uint64_t data);

    std::vector<std::wstring> m_names;
    size_t m_columns = 0;
    size_t m_rows = 0;
    std::vector<Cell> m_cells;   // row after row
    std::vector<wchar_t> m_text;
    std::vector<unsigned char> m_bytes;
    std::vector<std::uint64_t> m_wide;   // 64-bit integers and reals, as bits
};

}  // namespace ado::detail
