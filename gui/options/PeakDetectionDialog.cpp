#include "gui/options/PeakDetectionDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/widgets/QtText.h"

namespace corvelin {

CPeakDetectionDialog::CPeakDetectionDialog(QWidget* parent, const std::string& dataSystem,
                                           const CPeakDetectorSettings& settings, DetectAgain detectAgain)
    : QDialog(parent), m_apply(std::move(detectAgain))
{
    setWindowTitle(QStringLiteral("Peak Detection - %1").arg(ToQString(dataSystem)));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("How peaks are found in runs of %1. Conversions of these runs use the "
                                            "same values.")
                                 .arg(ToQString(dataSystem)),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* grid = new QGridLayout;
    const std::vector<CPeakDetectorParameter>& parameters = PeakDetectorParameters();
    int row = 0;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const CPeakDetectorParameter& p = parameters[i];
        auto* field = new QDoubleSpinBox(this);
        field->setDecimals(p.Decimals);
        field->setRange(p.Minimum, p.Maximum);
        field->setSingleStep(p.Decimals > 0 ? 0.5 : (i == 0 ? 2 : 1));
        field->setValue(PeakDetectorValue(settings, i));
        field->setAccessibleName(QString::fromLatin1(p.ValueName));
        auto* label = new QLabel(QString::fromLatin1(p.Label) + QStringLiteral(":"), this);
        label->setBuddy(field);
        auto* meaning = new QLabel(QString::fromLatin1(p.Meaning), this);
        meaning->setWordWrap(true);
        QFont small = meaning->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        meaning->setFont(small);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(new QLabel(QString::fromLatin1(p.Unit), this), row, 2);
        grid->addWidget(meaning, row + 1, 0, 1, 3);
        row += 2;
        m_fields.push_back(field);
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_detectAgain = buttons->addButton(QStringLiteral("Detect again"), QDialogButtonBox::ApplyRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPeakDetectionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPeakDetectionDialog::reject);
    connect(m_detectAgain, &QPushButton::clicked, this, &CPeakDetectionDialog::Apply);
    setMinimumWidth(460);
}

CPeakDetectorSettings CPeakDetectionDialog::Settings() const
{
    CPeakDetectorSettings settings;
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        SetPeakDetectorValue(settings, i, m_fields[i]->value());
    settings.Sanitize();
    return settings;
}

void CPeakDetectionDialog::Apply()
{
    if (m_apply)
        m_apply(Settings());
}

void CPeakDetectionDialog::accept()
{
    Apply();
    QDialog::accept();
}

} // namespace corvelin
