#pragma once
// The caller-owned table of pair values of one comparison: rows = peaks of "this", columns = peaks of "other".
// One contiguous block of doubles; Compare resets the top-left n x n block to -2 before it fills it.
#include <cstddef>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CCellTable {
public:
    CCellTable() = default;
    CCellTable(std::size_t rows, std::size_t columns) { Resize(rows, columns); }

    // Resizes to rows x columns; every cell becomes -2.
    void Resize(std::size_t rows, std::size_t columns)
    {
        m_rows = rows;
        m_columns = columns;
        m_cells.assign(rows * columns, -2.0);
    }
    // Sets the top-left n x n block (clipped to the table) to -2.
    void Reset(std::size_t n)
    {
        const std::size_t r = n < m_rows ? n : m_rows;
        const std::size_t c = n < m_columns ? n : m_columns;
        for (std::size_t i = 0; i < r; ++i)
            for (std::size_t j = 0; j < c; ++j)
                m_cells[i * m_columns + j] = -2.0;
    }
    std::size_t Rows() const noexcept { return m_rows; }
    std::size_t Columns() const noexcept { return m_columns; }
    double& operator()(std::size_t row, std::size_t column) noexcept { return m_cells[row * m_columns + column]; }
    double operator()(std::size_t row, std::size_t column) const noexcept { return m_cells[row * m_columns + column]; }
    double* Row(std::size_t row) noexcept { return m_cells.data() + row * m_columns; }
    const double* Row(std::size_t row) const noexcept { return m_cells.data() + row * m_columns; }
    bool operator==(const CCellTable&) const = default;

private:
    std::size_t m_rows = 0;
    std::size_t m_columns = 0;
    std::vector<double> m_cells;
};

} // namespace corvelin
