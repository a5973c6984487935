#include "gui/plots/SpectrumDraw.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "gui/widgets/QtText.h"
#include "engine/core/LibraryMassSpectrum.h"
#include "engine/platform/CFormat.h"
#include "engine/views/LabelPlacement.h"

namespace corvelin {

CSpectrumDraw::CSpectrumDraw(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 90);
}

void CSpectrumDraw::SetSpectrum(const CLibraryMassSpectrumData* spectrum, const std::string& label, bool resetScales)
{
    m_spectrum = spectrum;
    m_label = label;
    if (resetScales)
        m_massScale = m_intensityScale = 0;
    update();
}

void CSpectrumDraw::SetMassScale(double massScale)
{
    m_massScale = massScale;
    update();
}

std::vector<int> CSpectrumDraw::MassTicks(double massScale)
{
    std::vector<int> ticks;
    if (!(massScale > 0))
        return ticks;
    int step = static_cast<int>(std::pow(10.0, std::floor(std::log10(massScale))));
    if (step < 1)
        step = 1;
    while (static_cast<int>(massScale / step) <= 2 && step > 1)
        step /= 2;
    if (massScale > step)
        for (long long mass = step; mass < massScale; mass += step)
            ticks.push_back(static_cast<int>(mass));
    return ticks;
}

std::vector<std::size_t> CSpectrumDraw::LabelledPoints(const CLibraryMassSpectrumData& spectrum)
{
    const double fifth = spectrum.TopIntensities().second;
    std::vector<std::size_t> labelled;
    for (std::size_t i = 0; i < spectrum.GetCount(); ++i) {
        const double intensity = spectrum.GetPoint(i)->Intensity;
        if (intensity >= fifth && intensity > 0)
            labelled.push_back(i);
    }
    return labelled;
}

CSpectrumDraw::DrawnTexts CSpectrumDraw::Draw(QPainter& painter, const CLibraryMassSpectrumData* spectrum,
                                              double massScale, double intensityScale, const std::string& label,
                                              const QRect& rect)
{
    DrawnTexts drawn;
    const QFontMetrics metrics = painter.fontMetrics();
    const int h = metrics.height();
    const int width = rect.width();
    painter.fillRect(rect, Qt::white);
    painter.setPen(Qt::black);
    const int a = rect.bottom() - (rect.top() + h + 5);
    painter.drawLine(rect.left() + width - 5, a, rect.left() + 5, a);
    painter.drawLine(rect.left() + 5, a, rect.left() + 5, rect.top() + h + 5);

    const QRect captionBox(rect.left() + 10, rect.top() + 5, rect.width() - 20, rect.height() - 10);
    QRect captionUsed;
    {
        // The caption (a retention time) is bold, so it does not read as one more mass label beside it.
        const QFont plain = painter.font();
        QFont bold = plain;
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(captionBox, Qt::AlignLeft | Qt::AlignTop, ToQString(label), &captionUsed);
        painter.setFont(plain);
    }
    // A stick label that would come within a character of the caption reads as part of it ("5.51 77"): it is
    // left out like one that overlaps the caption.
    const QRect captionKept =
        captionUsed.isEmpty() ? QRect() : captionUsed.adjusted(0, 0, metrics.averageCharWidth(), 2);

    const double M = massScale != 0 ? massScale : (spectrum ? spectrum->LargestMass() : 0);
    const auto top = spectrum ? spectrum->TopIntensities() : std::pair<double, double>{0, 0};
    const double I = intensityScale != 0 ? intensityScale : top.first;
    if (!spectrum || spectrum->GetCount() == 0 || M == 0 || I == 0) {
        painter.drawText(rect, Qt::AlignCenter, QStringLiteral("This \"spectrum\" has no MS peaks"));
        drawn.NoPeaks = true;
        return drawn;
    }

    // The mass numbers centred under their ticks, inside the picture; one that would run into its neighbour is
    // left out.
    CLabelPlacer tickPlacer({double(rect.left()), double(rect.top()), double(rect.width()), double(rect.height())},
                            metrics.averageCharWidth() / 2.0);
    for (int tick : MassTicks(M)) {
        const int x = rect.left() + static_cast<int>((width - 10) * tick / M) + 5;
        const QString text = QString::number(tick);
        painter.drawLine(x, rect.bottom() - h - 7, x, rect.bottom() - h - 2);
        const double w = metrics.horizontalAdvance(text);
        const std::optional<CLabelBox> box = tickPlacer.Place({x - w / 2, double(rect.bottom() - h + 1), w, double(h)});
        if (!box)
            continue;
        painter.drawText(QRectF(box->Left, box->Top, box->Width, box->Height), Qt::AlignCenter | Qt::TextDontClip,
                         text);
        drawn.Ticks.push_back(ToStdString(text));
    }

    painter.setPen(QPen(QColor(0, 0, 153), 1));
    for (std::size_t i = 0; i < spectrum->GetCount(); ++i) {
        const CLibraryMassSpectrumPoint* p = spectrum->GetPoint(i);
        const int x = rect.left() + static_cast<int>(p->Mass / M * (width - 10) + 5);
        const int y = static_cast<int>(a - p->Intensity / I * (a - h - 5));
        painter.drawLine(x, a, x, y);
    }
    painter.setPen(Qt::black);
    // The labels of the most intense sticks first; one that would cover another label or the caption, or leave
    // the plot above the mass axis, is left out.
    CLabelPlacer placer({double(rect.left()), double(rect.top()), double(rect.width()), double(a - rect.top())},
                        metrics.averageCharWidth() / 2.0);
    if (!captionKept.isEmpty())
        placer.Block({double(captionKept.left()), double(captionKept.top()), double(captionKept.width()),
                      double(captionKept.height())});
    std::vector<std::size_t> labelled = LabelledPoints(*spectrum);
    std::stable_sort(labelled.begin(), labelled.end(), [spectrum](std::size_t l, std::size_t r) {
        return spectrum->GetPoint(l)->Intensity > spectrum->GetPoint(r)->Intensity;
    });
    std::vector<std::pair<std::size_t, QRectF>> kept;
    for (std::size_t i : labelled) {
        const CLibraryMassSpectrumPoint* p = spectrum->GetPoint(i);
        const int x = rect.left() + static_cast<int>(p->Mass / M * (width - 10) + 5);
        const int y = static_cast<int>(a - p->Intensity / I * (a - h - 5));
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.0f", p->Mass);
        const QString text = QString::fromLatin1(buffer);
        const std::optional<CLabelBox> box =
            placer.Place(CLabelBox::CentredAbove(x, y - 1, metrics.horizontalAdvance(text), h));
        if (!box)
            continue;
        painter.drawText(QRectF(box->Left, box->Top, box->Width, box->Height), Qt::AlignCenter | Qt::TextDontClip,
                         text);
        kept.push_back({i, QRectF(box->Left, box->Top, box->Width, box->Height)});
    }
    std::sort(kept.begin(), kept.end(), [](const auto& l, const auto& r) { return l.first < r.first; }); // by mass
    for (const auto& [i, box] : kept) {
        drawn.StickLabels.push_back(FormatC("%.0f", spectrum->GetPoint(i)->Mass));
        drawn.StickLabelBoxes.push_back(box);
    }
    return drawn;
}

void CSpectrumDraw::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw(painter, m_spectrum, m_massScale, m_intensityScale, m_label, rect());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace corvelin
