#include "gui/plots/MatchControl.h"

#include <QFontMetricsF>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/views/MatchPlotTips.h"
#include "engine/workflow/NistExport.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/plots/SpectrumDraw.h"
#include "gui/plots/SpectrumThumbnails.h"
#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/QtText.h"

namespace corvelin {
namespace {

// Until a colour scheme is chosen: blue for weak matches through green to red for the best ones.
std::vector<std::uint32_t> DefaultMatchColours()
{
    return {0x0000ff, 0x0060ff, 0x00a0c0, 0x00c080, 0x00c000, 0x80c000, 0xc0c000, 0xff8000, 0xff4000, 0xff0000};
}

} // namespace

// Draws the match lines over both plots; the plots are child windows, so the lines need a window above them.
class CMatchControl::LineOverlay : public QWidget {
public:
    explicit LineOverlay(CMatchControl& control) : QWidget(&control), m_control(control)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_control.HasData())
            return;
        QPainter painter(this);
        // Over both plots, but not across their axis numbers and file names, so every text stays readable.
        QRegion clip(m_control.m_plots[0]->geometry().united(m_control.m_plots[1]->geometry()));
        for (const CMultiChromatogramPlot* plot : m_control.m_plots) {
            const CChromatogramPlotFrame frame = plot->Frame();
            const QPoint at = plot->geometry().topLeft();
            for (const auto* texts : {&frame.TimeLabels, &frame.HeightLabels, &frame.Title})
                for (const CPlacedText& text : *texts)
                    clip -= QRectF(text.Box.Left, text.Box.Top, text.Box.Width, text.Box.Height)
                                .toAlignedRect()
                                .translated(at);
            // Each file name is drawn right-aligned in its legend line.
            const QFontMetricsF metrics(plot->font());
            for (std::size_t i = 0; i < frame.LegendLines.size() && i < std::size_t(plot->Model().Count()); ++i) {
                const CLabelBox& row = frame.LegendLines[i];
                const double width = std::min(
                    row.Width, metrics.horizontalAdvance(ToQString(plot->Model().Chromatogram(int(i)).SourcePath)));
                clip -= QRectF(row.Right() - width, row.Top, width, row.Height).toAlignedRect().translated(at);
            }
        }
        painter.setClipRegion(clip.translated(-pos()));
        for (int k = 0; k < static_cast<int>(m_control.m_lines.size()); ++k) {
            const CLineEnds ends = m_control.LineEnds(k);
            painter.setPen(QPen(PlotColour(m_control.m_lines[k].Colour), k == m_control.m_selected ? 2 : 1));
            const QPointF a(ends.X1, ends.Y1), b(ends.X2, ends.Y2);
            for (const QPointF& end : {a, b}) {
                painter.drawLine(end + QPointF(-3, -3), end + QPointF(3, 3));
                painter.drawLine(end + QPointF(-3, 3), end + QPointF(3, -3));
            }
            painter.drawLine(a, b);
        }
    }

private:
    CMatchControl& m_control;
};

CMatchControl::CMatchControl(CSearchOptions& options, QWidget* parent)
    : QWidget(parent), m_options(options), m_colours(DefaultMatchColours())
{
    const char* plotNames[] = {"Chromatogram1", "Chromatogram2"};
    const char* spectrumNames[] = {"Spectrum1", "Spectrum2"};
    for (int i = 0; i < 2; ++i) {
        m_plots[i] = new CMultiChromatogramPlot(this);
        m_plots[i]->setObjectName(QString::fromLatin1(plotNames[i]));
        m_plots[i]->SetOwnMouse(false);
        m_plots[i]->SetHostHandlesRanges(true);
        connect(m_plots[i], &CMultiChromatogramPlot::CommandIssued, this, &CMatchControl::RunCommand);
        m_spectra[i] = new CSpectrumDraw(this);
        m_spectra[i]->setObjectName(QString::fromLatin1(spectrumNames[i]));
        m_spectra[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_overlay = new LineOverlay(*this);
    m_tip = new CHtmlToolTip(this);
    m_tip->SetDelays(1500, 15000);
    m_tip->SetTextProvider([this](const QPoint& pos) { return TipText(pos); });
    for (QWidget* child : {static_cast<QWidget*>(m_plots[0]), static_cast<QWidget*>(m_plots[1])})
        m_tip->WatchChild(child);
    connect(m_tip, &CHtmlToolTip::LinkActivated, this,
            [this](const QString& message) { ActivateLink(ToStdString(message)); });
    m_thumbnails = std::make_unique<CSpectrumThumbnails>(m_tip->Pictures());
    setMouseTracking(true);
    setMinimumSize(300, 200);
}

CMatchControl::~CMatchControl()
{
    m_thumbnails.reset();
}

bool CMatchControl::HasData() const
{
    return m_plots[0]->Count() > 0 && m_plots[1]->Count() > 0;
}

const CLibraryChromatogram* CMatchControl::Chromatogram(int pane) const
{
    return pane >= 0 && pane < 2 && m_plots[pane]->Count() > 0 ? &m_plots[pane]->Model().Chromatogram(0) : nullptr;
}

std::size_t CMatchControl::ThumbnailCount() const
{
    return m_thumbnails->Count();
}

void CMatchControl::SetColours(std::vector<std::uint32_t> colours)
{
    m_colours = std::move(colours);
    BuildLines();
}

void CMatchControl::SetChromatograms(const CLibraryChromatogram& self, const CLibraryChromatogram& other)
{
    m_dataFiles = {self.DataFile, other.DataFile};
    for (CMultiChromatogramPlot* plot : m_plots)
        plot->RemoveAll();
    m_plots[0]->AddChromatogram(self);
    m_plots[1]->AddChromatogram(other);
    ClearMatch();
}

void CMatchControl::ClearMatch()
{
    m_tip->HideTip();
    m_thumbnails->Clear();
    m_selected = -1;
    m_lines.clear();
    double xMax = 0;
    for (CMultiChromatogramPlot* plot : m_plots)
        xMax = std::max(xMax, plot->Model().OverallBounds().XMax);
    for (CMultiChromatogramPlot* plot : m_plots)
        plot->SetView(0, 0, xMax, 100);
    for (CSpectrumDraw* pane : m_spectra)
        pane->SetSpectrum(nullptr, std::string(), true);
    m_match = CChromatogramMatch();
    m_hasMatch = false;
    BuildLines();
}

void CMatchControl::SetMatch(CChromatogramMatch match)
{
    m_match = std::move(match);
    m_hasMatch = true;
    BuildLines();
}

void CMatchControl::BuildLines()
{
    if (HasData() && m_hasMatch)
        m_lines = BuildMatchLines(m_match.Cells, *Chromatogram(0), *Chromatogram(1), m_colours);
    else
        m_lines.clear();
    if (m_selected >= static_cast<int>(m_lines.size()))
        m_selected = -1;
    ViewsChanged();
}

void CMatchControl::ViewsChanged()
{
    for (CMultiChromatogramPlot* plot : m_plots)
        plot->update();
    m_overlay->raise();
    m_overlay->update();
    update();
}

CLineEnds CMatchControl::LineEnds(int k) const
{
    const CMatchLinie& line = m_lines.at(k);
    const QPoint a = m_plots[0]->geometry().topLeft() + m_plots[0]->PeakApex(0, line.ThisIndex);
    const QPoint b = m_plots[1]->geometry().topLeft() + m_plots[1]->PeakApex(0, line.OtherIndex);
    return {double(a.x()), double(a.y()), double(b.x()), double(b.y())};
}

void CMatchControl::resizeEvent(QResizeEvent*)
{
    const int split = width() * 2 / 3;
    const int middle = height() / 2;
    m_plots[0]->setGeometry(0, 0, split, middle);
    m_plots[1]->setGeometry(0, middle, split, height() - middle);
    m_spectra[0]->setGeometry(split, 0, width() - split, middle);
    m_spectra[1]->setGeometry(split, middle, width() - split, height() - middle);
    m_overlay->setGeometry(0, 0, split, height());
    m_overlay->raise();
}

void CMatchControl::ShowFullRTRange()
{
    double xMin = 0, xMax = 0;
    for (int i = 0; i < 2; ++i) {
        m_plots[i]->Model().ShowFullRTRange();
        const CPlotRange view = m_plots[i]->Model().UnionPercentView();
        xMin = i == 0 ? view.XMin : std::min(xMin, view.XMin);
        xMax = i == 0 ? view.XMax : std::max(xMax, view.XMax);
    }
    for (CMultiChromatogramPlot* plot : m_plots) {
        const CPlotRange view = plot->Model().UnionPercentView();
        plot->Model().SetView(xMin, view.YMin, xMax, view.YMax);
    }
    ViewsChanged();
}

void CMatchControl::ShowFullHeight()
{
    double low = 0, high = 0;
    for (int i = 0; i < 2; ++i) {
        m_plots[i]->Model().ShowFullHeight();
        const CPlotRange view = m_plots[i]->Model().UnionPercentView();
        low = i == 0 ? view.YMin : std::min(low, view.YMin);
        high = i == 0 ? view.YMax : std::max(high, view.YMax);
    }
    for (CMultiChromatogramPlot* plot : m_plots) {
        const CPlotRange view = plot->Model().UnionPercentView();
        plot->Model().SetView(view.XMin, low, view.XMax, high);
    }
    ViewsChanged();
}

void CMatchControl::ShowFullScale()
{
    ShowFullRTRange();
    ShowFullHeight();
}

void CMatchControl::Move(bool right)
{
    if (!HasData())
        return;
    const CPlotRange a = m_plots[0]->Model().UnionPercentView();
    const CPlotRange b = m_plots[1]->Model().UnionPercentView();
    const double xMin = std::min(a.XMin, b.XMin), xMax = std::max(a.XMax, b.XMax);
    double shift = 0.3 * (xMax - xMin);
    if (!right)
        shift = xMin - shift < 0 ? -xMin : -shift;
    for (CMultiChromatogramPlot* plot : m_plots) {
        const CPlotRange view = plot->Model().UnionPercentView();
        plot->Model().SetView(xMin + shift, view.YMin, xMax + shift, view.YMax);
    }
    ViewsChanged();
}

std::string CMatchControl::TipText(const QPoint& pos)
{
    if (!HasData())
        return "chromatogram data missing";
    const CLibraryChromatogram& self = *Chromatogram(0);
    const CLibraryChromatogram& other = *Chromatogram(1);
    std::vector<CLineEnds> ends;
    ends.reserve(m_lines.size());
    for (int k = 0; k < static_cast<int>(m_lines.size()); ++k)
        ends.push_back(LineEnds(k));
    const int nearest = NearestMatchLine(ends, pos.x(), pos.y());
    if (nearest >= 0) {
        const CMatchLinie& line = m_lines[nearest];
        const double threshold = m_options.MassThresholdOn != 0 ? m_options.MassThreshold : 0;
        const double similarity = MSMatch(line.ThisPeak->Spectrum, line.OtherPeak->Spectrum, threshold);
        return PeakMatchTipText(line, self, other, similarity, Thumbnail(0, line.ThisIndex),
                                Thumbnail(1, line.OtherIndex));
    }
    for (int pane = 0; pane < 2; ++pane) {
        const QPoint local = pos - m_plots[pane]->geometry().topLeft();
        if (!m_plots[pane]->rect().contains(local))
            continue;
        const CPlotHit hit = m_plots[pane]->HitTest(local);
        if (hit.Peak >= 0)
            return PeakInformationTipText(*Chromatogram(pane), hit.Peak, pane + 1, Thumbnail(pane, hit.Peak));
    }
    return MatchDetailsText(m_match.Forward, m_match.Reverse, self.PeakCount, other.PeakCount, m_options);
}

unsigned long CMatchControl::Thumbnail(int pane, int peakIndex)
{
    const CLibraryChromatogram* chromatogram = Chromatogram(pane);
    if (chromatogram == nullptr || peakIndex < 0 || peakIndex >= static_cast<int>(chromatogram->Peaks.size()))
        return 0;
    const CLibraryChromatogramPeakData& peak = *chromatogram->Peaks[peakIndex];
    if (peak.Spectrum.Points().empty())
        return 0;
    return m_thumbnails->Handle(CSpectrumThumbnails::Key(pane, peakIndex), &peak.Spectrum, FormatC("%.2f", peak.RT));
}

void CMatchControl::ActivateLink(const std::string& message)
{
    const CTipLink link = ParseTipLink(message);
    const CLibraryChromatogram* chromatogram = Chromatogram(link.Pane - 1);
    if (link.Pane == 0 || chromatogram == nullptr || link.PeakIndex < 0 ||
        link.PeakIndex >= static_cast<int>(chromatogram->Peaks.size()) || link.What == CTipLink::Action::None)
        return;
    SendSpectrum(link.What == CTipLink::Action::Nist, chromatogram->Peaks[link.PeakIndex]->Spectrum,
                 TipSpectrumName(*chromatogram, link.PeakIndex), chromatogram->SampleName);
}

void CMatchControl::SendSpectrum(bool toNist, const CLibraryMassSpectrumData& spectrum, const std::string& name,
                                 const std::string& comment)
{
    if (toNist) {
        SearchInNist(spectrum, name, comment);
    } else {
        // Added inactive, as spectra taken from a spectra file are: the user decides on the options page.
        m_options.AddSpectrum(name, spectrum, false);
        emit SpectralListChanged();
    }
}

void CMatchControl::ClickAt(const QPoint& pos)
{
    std::vector<CLineEnds> ends;
    for (int k = 0; k < static_cast<int>(m_lines.size()); ++k)
        ends.push_back(LineEnds(k));
    const int nearest = NearestMatchLine(ends, pos.x(), pos.y());
    if (nearest >= 0) {
        m_selected = nearest;
        const CMatchLinie& line = m_lines[nearest];
        m_spectra[0]->SetSpectrum(&line.ThisPeak->Spectrum, FormatC("%.2f", line.ThisPeak->RT), true);
        m_spectra[1]->SetSpectrum(&line.OtherPeak->Spectrum, FormatC("%.2f", line.OtherPeak->RT), true);
    } else {
        for (int pane = 0; pane < 2; ++pane) {
            const QPoint local = pos - m_plots[pane]->geometry().topLeft();
            if (!m_plots[pane]->rect().contains(local))
                continue;
            const CPlotHit hit = m_plots[pane]->HitTest(local);
            if (hit.Peak < 0)
                continue;
            const CLibraryChromatogramPeakData& peak = *Chromatogram(pane)->Peaks[hit.Peak];
            m_spectra[pane]->SetSpectrum(&peak.Spectrum, FormatC("%.2f", peak.RT), false);
            m_selected = -1;
            break;
        }
    }
    ViewsChanged();
    ShareMassScale();
}

void CMatchControl::ShareMassScale()
{
    double scale = 0;
    for (const CSpectrumDraw* pane : m_spectra)
        if (pane->Spectrum() != nullptr)
            scale = std::max(scale, pane->Spectrum()->LargestMass());
    for (CSpectrumDraw* pane : m_spectra)
        pane->SetMassScale(scale);
}

bool CMatchControl::DragTo(const QPoint& press, const QPoint& release)
{
    const QRect drag = QRect(press, release).normalized();
    const int width = std::abs(release.x() - press.x()), height = std::abs(release.y() - press.y());
    if (ClassifyMatchDrag(width, height) != EMatchDrag::Zoom)
        return false;
    const int pane = m_plots[0]->geometry().contains(press) ? 0 : 1;
    const QPoint origin = m_plots[pane]->geometry().topLeft();
    const QRect local = drag.translated(-origin);
    const CPlotRange view = m_plots[pane]->Model().DragView(
        {local.left(), local.top(), local.left() + width, local.top() + height}, m_plots[pane]->PlotRect());
    for (CMultiChromatogramPlot* plot : m_plots)
        plot->Model().SetView(view.XMin, view.YMin, view.XMax, view.YMax);
    BuildLines();
    return true;
}

CMatchControl::Pane CMatchControl::PaneAt(const QPoint& pos) const
{
    if (m_plots[0]->geometry().contains(pos))
        return kUpperPlot;
    if (m_plots[1]->geometry().contains(pos))
        return kLowerPlot;
    if (m_spectra[0]->geometry().contains(pos))
        return kUpperSpectrum;
    if (m_spectra[1]->geometry().contains(pos))
        return kLowerSpectrum;
    return kNoPane;
}

void CMatchControl::RunCommand(int command)
{
    switch (command) {
    case CMultiChromatogramPlot::kShowFullScale:
        ShowFullScale();
        break;
    case CMultiChromatogramPlot::kShowFullHeight:
        ShowFullHeight();
        break;
    case CMultiChromatogramPlot::kShowFullRTRange:
        ShowFullRTRange();
        break;
    case CMultiChromatogramPlot::kMoveLeft:
        MoveLeft();
        break;
    case CMultiChromatogramPlot::kMoveRight:
        MoveRight();
        break;
    case CMultiChromatogramPlot::kRecalibrateRI:
        if (m_lastRightClicked == kUpperPlot || m_lastRightClicked == kLowerPlot) {
            m_plots[m_lastRightClicked]->EditRICalibration(0);
            ClearMatch();
            emit CompareWanted();
        }
        break;
    case kSearchSpectrumInNist:
    case kAddSpectrumToOptions:
        if (m_lastRightClicked == kUpperSpectrum || m_lastRightClicked == kLowerSpectrum) {
            const CSpectrumDraw& pane = *m_spectra[m_lastRightClicked - kUpperSpectrum];
            if (pane.Spectrum() != nullptr) {
                if (command == kSearchSpectrumInNist)
                    SendSpectrum(true, *pane.Spectrum(), pane.Label(), "Peak at " + pane.Label());
                else
                    SendSpectrum(false, *pane.Spectrum(), pane.Label(), std::string());
            }
        }
        break;
    default:
        break;
    }
}

void CMatchControl::OpenSpectrumMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Search spectrum in NIST ..."))->setData(int(kSearchSpectrumInNist));
    menu.addAction(QStringLiteral("Add spectrum to MS search options"))->setData(int(kAddSpectrumToOptions));
    if (const QAction* chosen = menu.exec(globalPos))
        RunCommand(chosen->data().toInt());
}

void CMatchControl::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const Pane pane = PaneAt(pos);
    if (event->button() != Qt::LeftButton || !HasData() || (pane != kUpperPlot && pane != kLowerPlot))
        return;
    m_band.Press(pos);
}

void CMatchControl::mouseMoveEvent(QMouseEvent* event)
{
    m_band.Move(event->position().toPoint());
}

void CMatchControl::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        const Pane pane = PaneAt(pos);
        if (pane == kNoPane)
            return;
        m_lastRightClicked = pane;
        if (pane == kUpperPlot || pane == kLowerPlot)
            m_plots[pane]->OpenZoomMenu(event->globalPosition().toPoint());
        else
            OpenSpectrumMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !m_band.Release())
        return;
    const QPoint start = m_band.Start();
    const int width = std::abs(pos.x() - start.x()), height = std::abs(pos.y() - start.y());
    const EMatchDrag kind = ClassifyMatchDrag(width, height);
    if (kind == EMatchDrag::Zoom)
        DragTo(start, pos);
    else if (kind == EMatchDrag::Click)
        ClickAt(start);
}

} // namespace corvelin
