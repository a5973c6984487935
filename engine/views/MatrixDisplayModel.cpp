#include "engine/views/MatrixDisplayModel.h"

#include <algorithm>
#include <cmath>

#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/core/PeakShare.h"
#include "engine/platform/CFormat.h"
#include "engine/views/ColorScheme.h"
#include "engine/views/MatchMatrix.h"

namespace corvelin {

namespace {

constexpr double kFilled = 0.001;

double Share(double part, double total)
{
    return PeakSharePercent(part, total);
}

} // namespace

double MatrixMap(double value, double lo, double hi, double origin, double extent) noexcept
{
    return origin + (value - lo) / (hi - lo) * (extent - 15) + 10;
}

double MatrixUnmap(double offset, double lo, double hi, double extent) noexcept
{
    return lo + (offset - 10) / (extent - 15) * (hi - lo);
}

double MatrixTickStep(double span) noexcept
{
    if (!(span > 0) || !std::isfinite(span))
        return 1;
    double step = std::pow(10.0, std::floor(std::log10(span)));
    while (std::trunc(span / step) < 3 && step > 0.01)
        step /= 2;
    return step;
}

std::vector<double> MatrixTicks(const CMatrixRanges& ranges)
{
    const double span = std::max(ranges.XMax - ranges.XMin, ranges.YMax - ranges.YMin);
    const double top = std::max(ranges.XMax, ranges.YMax);
    const double step = MatrixTickStep(span);
    std::vector<double> ticks;
    if (!std::isfinite(top) || !std::isfinite(step))
        return ticks;
    // The ticks run from step upwards; those more than one step below both minima lie outside the drawing
    // (a step is at least a tenth of the span), so a zoomed-in axis starts just below its minimum.
    const double lowest = std::min(ranges.XMin, ranges.YMin);
    const double first = std::max(1.0, std::floor(lowest / step) - 1);
    for (double k = first; k * step < top && ticks.size() < 5000; ++k)
        ticks.push_back(k * step);
    return ticks;
}

int MatrixCircleDiameter(double area, double totalArea, double minSize, double sizeRange) noexcept
{
    const double share = totalArea > 0 && std::isfinite(area) ? area / totalArea : 0.0;
    const double d = std::trunc(share * sizeRange + minSize);
    if (!(d > 0))
        return 0;
    return d > 100000 ? 100000 : static_cast<int>(d);
}

void CMatrixDisplayModel::SetData(const CCellTable* cells, int rows, int columns, const CLibraryChromatogramData* self,
                                  const CLibraryChromatogramData* other)
{
    m_cells = cells;
    m_this = self;
    m_other = other;
    if (!HasData()) {
        Clear();
        return;
    }
    // Never index beyond the table or the peak lists, whatever the counts claim.
    m_rows = std::clamp(rows, 0, static_cast<int>(std::min(cells->Rows(), self->Peaks.size())));
    m_columns = std::clamp(columns, 0, static_cast<int>(std::min(cells->Columns(), other->Peaks.size())));
    double last = 0;
    if (!self->Peaks.empty())
        last = self->Peaks.back()->RT;
    if (!other->Peaks.empty())
        last = std::max(last, other->Peaks.back()->RT);
    m_full = {0, last + 1, 0, last + 1};
    m_ranges = m_full;
}

void CMatrixDisplayModel::Clear()
{
    m_cells = nullptr;
    m_this = nullptr;
    m_other = nullptr;
    m_rows = m_columns = 0;
    m_full = m_ranges = CMatrixRanges{};
}

bool CMatrixDisplayModel::Zoom(CMatrixRect dragged, const CMatrixRect& area)
{
    if (dragged.Left > dragged.Right)
        std::swap(dragged.Left, dragged.Right);
    if (dragged.Top > dragged.Bottom)
        std::swap(dragged.Top, dragged.Bottom);
    if (!(dragged.Width() > 20 || dragged.Height() > 20) || !HasPeaks())
        return false;
    const double w = area.Width();
    const double h = area.Height();
    CMatrixRanges next;
    next.XMin = MatrixUnmap(dragged.Left - area.Left, m_ranges.XMin, m_ranges.XMax, w);
    next.XMax = MatrixUnmap(dragged.Right - area.Left, m_ranges.XMin, m_ranges.XMax, w);
    next.YMin = MatrixUnmap(dragged.Top - area.Top, m_ranges.YMin, m_ranges.YMax, h);
    next.YMax = MatrixUnmap(dragged.Bottom - area.Top, m_ranges.YMin, m_ranges.YMax, h);
    if (!(next.XMax - next.XMin > 0.01) || !(next.YMax - next.YMin > 0.01))
        return false;
    m_ranges = next;
    return true;
}

CMatrixLayout CMatrixDisplayModel::Layout(const CMatrixRect& area, double minSize, double sizeRange,
                                          int colorCount) const
{
    CMatrixLayout layout;
    layout.OriginX = area.Left + 10;
    layout.OriginY = area.Top + 10;
    if (!HasPeaks())
        return layout;
    const CMatrixRanges& r = m_ranges;
    const double w = area.Width();
    const double h = area.Height();
    auto mapX = [&](double rt) { return MatrixMap(rt, r.XMin, r.XMax, area.Left, w); };
    auto mapY = [&](double rt) { return MatrixMap(rt, r.YMin, r.YMax, area.Top, h); };
    // A tick that maps before an axis's origin or past its arrow end is not on the drawn axis.
    for (double value : MatrixTicks(r)) {
        const double x = mapX(value);
        const double y = mapY(value);
        layout.Ticks.push_back({value, x, y, FormatC("%.2f", value), x >= layout.OriginX - 0.5 && x <= area.Right - 5,
                                y >= layout.OriginY - 0.5 && y <= area.Bottom - 5});
    }

    const CCellTable& cells = *m_cells;
    std::vector<char> rowAssigned(static_cast<std::size_t>(m_rows), 0);
    std::vector<char> columnAssigned(static_cast<std::size_t>(m_columns), 0);
    for (int i = 0; i < m_rows; ++i) {
        const double* row = cells.Row(static_cast<std::size_t>(i));
        for (int j = 0; j < m_columns; ++j)
            if (row[j] >= kMatrixAssigned)
                rowAssigned[i] = columnAssigned[j] = 1;
    }
    for (int j = 0; j < m_columns; ++j) {
        if (columnAssigned[j])
            continue;
        const CLibraryChromatogramPeakData& peak = *m_other->Peaks[j];
        CMatrixCircle c;
        c.Type = CMatrixCircle::UnassignedOther;
        c.OtherPeak = j;
        c.X = mapX(peak.RT);
        c.Y = mapY(peak.RT);
        c.Diameter = MatrixCircleDiameter(peak.Area, m_other->TotalArea, minSize, sizeRange);
        c.HasTool = true;
        layout.Circles.push_back(c);
    }
    for (int i = 0; i < m_rows; ++i) {
        if (rowAssigned[i])
            continue;
        const CLibraryChromatogramPeakData& peak = *m_this->Peaks[i];
        CMatrixCircle c;
        c.Type = CMatrixCircle::UnassignedThis;
        c.ThisPeak = i;
        c.X = mapX(peak.RT);
        c.Y = mapY(peak.RT);
        c.Diameter = MatrixCircleDiameter(peak.Area, m_this->TotalArea, minSize, sizeRange);
        c.HasTool = true;
        layout.Circles.push_back(c);
    }
    for (int i = 0; i < m_rows; ++i) {
        if (!rowAssigned[i])
            continue;
        const CLibraryChromatogramPeakData& peak = *m_this->Peaks[i];
        const double* row = cells.Row(static_cast<std::size_t>(i));
        for (int j = 0; j < m_columns; ++j) {
            const double v = row[j];
            if (!(v >= kMatrixAssigned))
                continue;
            CMatrixCircle c;
            c.Type = CMatrixCircle::Assigned;
            c.ThisPeak = i;
            c.OtherPeak = j;
            c.Value = v;
            c.X = mapX(peak.RT);
            c.Y = mapY(m_other->Peaks[j]->RT);
            c.Diameter = MatrixCircleDiameter(peak.Area, m_this->TotalArea, minSize, sizeRange);
            c.Filled = v >= kFilled;
            c.ColorIndex = c.Filled ? SchemeColorIndex(v, colorCount) : -1;
            c.HasTool = true;
            layout.Circles.push_back(c);
        }
    }
    return layout;
}

std::vector<CPlacedText> MatrixAxisTexts(const CMatrixLayout& layout, const CMatrixRect& area, double lineHeight,
                                         const TextWidthFn& textWidth)
{
    std::vector<CPlacedText> texts;
    CLabelPlacer placer({area.Left, area.Top, area.Width(), area.Height()}, lineHeight / 4);
    const double numbersTop = layout.OriginY + 5;
    const double numbersLeft = layout.OriginX + 8; // clear of the tick marks, which reach 5 past the axis
    const double thisWidth = textWidth(kMatrixThisAxisTitle);
    placer.Place(kMatrixThisAxisTitle, {area.Right - 5 - thisWidth, numbersTop + lineHeight, thisWidth, lineHeight},
                 texts);
    // Beside the column of the vertical axis's numbers, so it never takes the place of the lowest one.
    double numbersWidth = 0;
    for (const CMatrixLayout::Tick& tick : layout.Ticks)
        if (tick.OnY)
            numbersWidth = std::max(numbersWidth, textWidth(tick.Label));
    const double otherWidth = textWidth(kMatrixOtherAxisTitle);
    placer.Place(kMatrixOtherAxisTitle,
                 {numbersLeft + numbersWidth + lineHeight, area.Bottom - 5 - lineHeight, otherWidth, lineHeight},
                 texts);
    for (const CMatrixLayout::Tick& tick : layout.Ticks) {
        const double w = textWidth(tick.Label);
        if (tick.OnX)
            placer.Place(tick.Label, {tick.X - w / 2, numbersTop, w, lineHeight}, texts);
        if (tick.OnY)
            placer.Place(tick.Label, {numbersLeft, tick.Y - lineHeight / 2, w, lineHeight}, texts);
    }
    return texts;
}

std::string CMatrixDisplayModel::PairText(int thisPeak, int otherPeak, const PictureHandle& picture) const
{
    const CLibraryChromatogramPeakData& a = *m_this->Peaks.at(static_cast<std::size_t>(thisPeak));
    const CLibraryChromatogramPeakData& b = *m_other->Peaks.at(static_cast<std::size_t>(otherPeak));
    return FormatC(
        "<h2>Peak Match = %.3f</h2><br><br><table border=1><tr><td>RT(this) = %.2f<br>RI(this) = %.1f<br>Area = "
        "%.2f %%<br>Area = %.0f<br>Height = %.2f %%<br>Height = %.1f</td><td>RT(other) = %.2f<br>RI(other) = "
        "%.1f<br>Area = %.2f %%<br>Area = %.0f<br>Height = %.2f %%<br>Height = %.1f</td></tr><tr><td><bmp "
        "handle=%lu cx=150 cy=75><br><a msg=\"1-Nist-%i\">Send to NIST</a> <a msg=\"1-Spec-%i\">Send to MS "
        "options</a></td><td><bmp handle=%lu cx=150 cy=75><br><a msg=\"2-Nist-%i\">Send to NIST</a> <a "
        "msg=\"2-Spec-%i\">Send to MS options</a></td></tr></table>",
        (*m_cells)(static_cast<std::size_t>(thisPeak), static_cast<std::size_t>(otherPeak)), a.RT, a.RI,
        Share(a.Area, m_this->TotalArea), a.Area, Share(a.Height, m_this->TotalHeight), a.Height, b.RT, b.RI,
        Share(b.Area, m_other->TotalArea), b.Area, Share(b.Height, m_other->TotalHeight), b.Height,
        picture(1, thisPeak), thisPeak, thisPeak, picture(2, otherPeak), otherPeak, otherPeak);
}

std::string CMatrixDisplayModel::UnassignedThisText(int thisPeak, const PictureHandle& picture) const
{
    const CLibraryChromatogramPeakData& a = *m_this->Peaks.at(static_cast<std::size_t>(thisPeak));
    return FormatC("<h2>\"this\" peak not matched</h2><br><br><table border=1><tr><td>RT = %.2f<br>RI = "
                   "%.1f<br>Area = %.2f %%<br>Area = %.0f <br>Height = %.2f %%<br>Height = "
                   "%.1f</td></tr><tr><td><bmp handle=%lu cx=150 cy=75><br><a msg=\"1-Nist-%i\">Send to NIST</a> "
                   "<a msg=\"1-Spec-%i\">Send to MS options</a></td></tr></table>",
                   a.RT, a.RI, Share(a.Area, m_this->TotalArea), a.Area, Share(a.Height, m_this->TotalHeight), a.Height,
                   picture(1, thisPeak), thisPeak, thisPeak);
}

std::string CMatrixDisplayModel::UnassignedOtherText(int otherPeak, const PictureHandle& picture) const
{
    const CLibraryChromatogramPeakData& b = *m_other->Peaks.at(static_cast<std::size_t>(otherPeak));
    return FormatC("<h2>\"other\" peak not matched</h2><br><br><table border=1><tr><td>RT = %.2f<br>RI = "
                   "%.1f<br>Area = %.2f %%<br>Area = %.0f <br>Height = %.2f %%<br>Height = %.1f "
                   "</td></tr><tr><td><bmp handle=%lu cx=150 cy=75><br><a msg=\"2-Nist-%i\">Send to NIST</a> "
                   "<a msg=\"2-Spec-%i\">Send to MS options</a></td></tr></table>",
                   b.RT, b.RI, Share(b.Area, m_other->TotalArea), b.Area, Share(b.Height, m_other->TotalHeight),
                   b.Height, picture(2, otherPeak), otherPeak, otherPeak);
}

std::string CMatrixDisplayModel::ToolText(const CMatrixCircle& circle, const PictureHandle& picture) const
{
    switch (circle.Type) {
    case CMatrixCircle::Assigned:
        return PairText(circle.ThisPeak, circle.OtherPeak, picture);
    case CMatrixCircle::UnassignedThis:
        return UnassignedThisText(circle.ThisPeak, picture);
    case CMatrixCircle::UnassignedOther:
        return UnassignedOtherText(circle.OtherPeak, picture);
    }
    return {};
}

} // namespace corvelin
