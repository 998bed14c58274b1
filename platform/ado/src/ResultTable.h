// The rows of one query, read completely when the recordset opens: what makes the
// cursor static, its count exact and every pass meet the rows in one order.
//
// A dictionary has tens of thousands of rows, so the cells are small and hold no
// allocation of their own: every text is kept in one UTF-16 buffer and every blob in
// one byte buffer, and a VARIANT is made only when a value is read.
#pragma once

#include <ole2.h>
#include <cstdint>
#include <vector>

namespace ado::detail {

class ResultTable {
public:
    size_t Columns() const { return m_columns; }
    size_t Rows() const { return m_rows; }   // read on every move of a scan: kept, not worked out

    // A new VARIANT holding the cell: VT_BSTR for text, VT_I4 (VT_I8 beyond 32 bits),
    // VT_R8, VT_ARRAY|VT_UI1 for a blob, VT_NULL. The caller owns *out; it is left
    // VT_EMPTY and false returned when memory runs out.
    bool CopyCell(size_t row, size_t column, VARIANT* out) const;

    // Building, row after row, cell after cell; std::bad_alloc when memory runs out.
    void SetColumns(size_t columns) { m_columns = columns; }
    void AppendNull() { m_cells.push_back(Cell{kNull, 0, {}}); }
    void AppendInteger(std::int64_t value);
    void AppendReal(double value);
    void AppendText(const wchar_t* text, size_t length);
    void AppendBlob(const void* data, size_t size);
    void EndOfRows() { m_rows = m_columns ? m_cells.size() / m_columns : 0; }

private:
    enum Kind : std::uint32_t { kNull, kInteger, kReal, kText, kBlob };
    struct Cell {
        Kind kind;
        std::uint32_t size;   // text: UTF-16 units; blob: bytes
        union {
            std::int64_t integer;
            double real;
            size_t offset;   // text, blob: where it starts in its buffer
        };
    };

    size_t m_columns = 0;
    std::vector<Cell> m_cells;   // row after row
    std::vector<wchar_t> m_text;
    std::vector<unsigned char> m_bytes;
    size_t m_rows = 0;
};

}  // namespace ado::detail
