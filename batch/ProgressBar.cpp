#include "batch/ProgressBar.h"

#include <string>
#include <unistd.h>

namespace corvelin {

ProgressBar::ProgressBar(std::FILE* out) : m_out(out), m_enabled(::isatty(::fileno(out)) != 0) {}

void ProgressBar::SetRange(int total)
{
    m_total = total;
    m_done = 0;
    m_lastCells = -1;
    Draw();
}

void ProgressBar::Step()
{
    ++m_done;
    Draw();
}

void ProgressBar::Draw()
{
    if (!m_enabled || m_total <= 0)
        return;
    constexpr int kWidth = 40;
    const int cells = static_cast<int>(static_cast<long long>(m_done) * kWidth / m_total);
    // Redraw when the bar grows or every 64 entries, so a large library does not flood the terminal.
    if (cells == m_lastCells && m_done != m_total && (m_done & 63) != 0)
        return;
    m_lastCells = cells;
    std::string line = "\rSearching [";
    line.append(static_cast<std::size_t>(cells), '#');
    line.append(static_cast<std::size_t>(kWidth - cells), ' ');
    line += "] " + std::to_string(m_done) + "/" + std::to_string(m_total);
    std::fwrite(line.data(), 1, line.size(), m_out);
    std::fflush(m_out);
    m_shown = true;
}

void ProgressBar::Clear()
{
    if (!m_shown)
        return;
    std::fputs("\r\x1b[K", m_out);
    std::fflush(m_out);
    m_shown = false;
}

} // namespace corvelin
