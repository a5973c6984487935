#pragma once
// The spectrum plot: one mass spectrum as sticks over a mass axis, the five most intense sticks labelled
// with their masses, a caption in the top-left corner. The drawing routine is stateless, so it also renders
// thumbnails without a window.
#include <QWidget>
#include <string>
#include <vector>

namespace corvelin {

class CLibraryMassSpectrumData;

class CSpectrumDraw : public QWidget {
    Q_OBJECT
public:
    explicit CSpectrumDraw(QWidget* parent = nullptr);

    // spectrum: shown, not owned (nullptr = none); resetScales returns both scales to automatic.
    void SetSpectrum(const CLibraryMassSpectrumData* spectrum, const std::string& label, bool resetScales = true);
    void SetMassScale(double massScale);
    const CLibraryMassSpectrumData* Spectrum() const noexcept { return m_spectrum; }
    const std::string& Label() const noexcept { return m_label; }

    // The mass-axis ticks for an axis ending at massScale: multiples of the step while below massScale.
    static std::vector<int> MassTicks(double massScale);
    // Indexes of the points that get a mass label: intensity >= the fifth-largest (among >= 0.1) and > 0.
    static std::vector<std::size_t> LabelledPoints(const CLibraryMassSpectrumData& spectrum);
    // What Draw drew, for tests: the tick labels, the stick label texts and boxes, the "no peaks" text. The most
    // intense sticks are labelled first; a label that would cover another or the caption, or leave the picture,
    // is left out.
    struct DrawnTexts {
        std::vector<std::string> Ticks;
        std::vector<std::string> StickLabels; // by mass
        std::vector<QRectF> StickLabelBoxes;  // the same order
        bool NoPeaks = false;
    };
    static DrawnTexts Draw(QPainter& painter, const CLibraryMassSpectrumData* spectrum, double massScale,
                           double intensityScale, const std::string& label, const QRect& rect);

    QSize sizeHint() const override { return {320, 180}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CLibraryMassSpectrumData* m_spectrum = nullptr;
    std::string m_label;
    double m_massScale = 0;
    double m_intensityScale = 0;
};

} // namespace corvelin
