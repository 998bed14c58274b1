// The rows of one query, read completely when the recordset opens: what makes the
// cursor static, its count exact and every pass meet the rows in one order.
#pragma once

#include <ole2.h>
#include <string>
#include <vector>

namespace ado::detail {

class ResultTable {
public:
    ResultTable() = default;
    ResultTable(const ResultTable&) = delete;
    ResultTable& operator=(const ResultTable&) = delete;
    ~ResultTable()
    {
        for (VARIANT& v : m_cells)
            VariantClear(&v);
    }

    size_t Columns() const { return m_names.size(); }
    size_t Rows() const { return m_names.empty() ? 0 : m_cells.size() / m_names.size(); }
    const std::wstring& Name(size_t column) const { return m_names[column]; }
    const VARIANT& Cell(size_t row, size_t column) const { return m_cells[row * m_names.size() + column]; }

    void SetColumns(std::vector<std::wstring> names) { m_names = std::move(names); }
    // Takes ownership of v's contents.
    void Append(const VARIANT& v) { m_cells.push_back(v); }

private:
    std::vector<std::wstring> m_names;
    std::vector<VARIANT> m_cells;   // row after row
};

}  // namespace ado::detail
