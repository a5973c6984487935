#include "gui/options/SearchBasicOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/widgets/QtText.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/MessageSink.h"
#include "gui/widgets/DataExchange.h"

namespace corvelin {

CSearchBasicOptions::CSearchBasicOptions(CSearchOptions& record, QWidget* parent)
    : CSearchOptionsPage(record, QStringLiteral("Peak Property Options"), parent)
{
    auto* standard = new QGroupBox(QStringLiteral("Standard Search Options"), this);
    auto* standardLayout = new QVBoxLayout(standard);
    m_ms = new QCheckBox(QStringLiteral("MS matching  "), standard);
    m_rt = new QCheckBox(QStringLiteral("RT matching  "), standard);
    m_ri = new QCheckBox(QStringLiteral("RI matching  "), standard);
    m_area = new QCheckBox(QStringLiteral("Area% matching  "), standard);
    m_height = new QCheckBox(QStringLiteral("Height% matching  "), standard);
    m_subfolders = new QCheckBox(QStringLiteral("Search subfolders"), standard);
    for (QCheckBox* box : {m_ms, m_rt, m_ri, m_area, m_height, m_subfolders})
        standardLayout->addWidget(box);
    standardLayout->addStretch(1);

    auto* advanced = new QGroupBox(QStringLiteral("Advanced Search Options"), this);
    auto* advancedGrid = new QGridLayout(advanced);
    m_range = new QLineEdit(advanced);
    m_rtWindow = new QLineEdit(advanced);
    m_riWindow = new QLineEdit(advanced);
    m_multiple = new QCheckBox(QStringLiteral("Allow multiple matching"), advanced);
    m_weighting = new QComboBox(advanced);
    m_weighting->addItems({QStringLiteral("none"), QStringLiteral("Area"), QStringLiteral("Height"),
                           QStringLiteral("log(Area)"), QStringLiteral("log(Height)")});
    advancedGrid->addWidget(new QLabel(QStringLiteral("RT search range (min):"), advanced), 0, 0);
    advancedGrid->addWidget(m_range, 0, 1);
    advancedGrid->addWidget(new QLabel(QStringLiteral("RT window width:"), advanced), 1, 0);
    advancedGrid->addWidget(m_rtWindow, 1, 1);
    advancedGrid->addWidget(new QLabel(QStringLiteral("RI window width:"), advanced), 2, 0);
    advancedGrid->addWidget(m_riWindow, 2, 1);
    advancedGrid->addWidget(m_multiple, 3, 0, 1, 2);
    advancedGrid->addWidget(new QLabel(QStringLiteral("Weighting:"), advanced), 4, 0);
    advancedGrid->addWidget(m_weighting, 4, 1);
    advancedGrid->setRowStretch(5, 1);

    auto* calculation = new QGroupBox(QStringLiteral("Calculation Options"), this);
    auto* calculationGrid = new QGridLayout(calculation);
    m_massOn = new QCheckBox(QStringLiteral("Mass threshold (%)"), calculation);
    m_mass = new QLineEdit(calculation);
    m_areaOn = new QCheckBox(QStringLiteral("Area threshold (%)"), calculation);
    m_areaValue = new QLineEdit(calculation);
    m_absolute = new QCheckBox(QStringLiteral("use absolute  \nArea/Height matching  "), calculation);
    for (QLineEdit* edit : {m_mass, m_areaValue})
        edit->setMaximumWidth(90);
    calculationGrid->addWidget(m_massOn, 0, 0);
    calculationGrid->addWidget(m_mass, 0, 1);
    calculationGrid->addWidget(m_areaOn, 1, 0);
    calculationGrid->addWidget(m_areaValue, 1, 1);
    calculationGrid->addWidget(m_absolute, 2, 0, 1, 2);
    calculationGrid->setColumnStretch(2, 1);

    auto* open = new QPushButton(this);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    open->setToolTip(QStringLiteral("Open search parameter file"));
    auto* save = new QPushButton(this);
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    save->setToolTip(QStringLiteral("Save search parameter file"));
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addStretch(1);
    fileButtons->addWidget(open);
    fileButtons->addWidget(save);

    auto* grid = new QGridLayout;
    grid->addWidget(standard, 0, 0);
    grid->addWidget(advanced, 0, 1);
    grid->addWidget(calculation, 1, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(fileButtons);

    connect(m_massOn, &QCheckBox::clicked, this, &CSearchBasicOptions::OnMassThresholdClicked);
    connect(m_areaOn, &QCheckBox::clicked, this, &CSearchBasicOptions::OnAreaThresholdClicked);
    connect(m_absolute, &QCheckBox::clicked, this, &CSearchBasicOptions::OnAbsoluteClicked);
    // The basic page's open does not store first: edits not yet stored are overwritten.
    connect(open, &QPushButton::clicked, this, [this] { OpenParameterFile(false); });
    connect(save, &QPushButton::clicked, this, &CSearchBasicOptions::SaveParameterFile);

    LoadData();
}

bool CSearchBasicOptions::Exchange(bool store)
{
    ExchangeCheck(store, m_area, m_record.AreaMatching);
    ExchangeCheck(store, m_height, m_record.HeightMatching);
    ExchangeCheck(store, m_ms, m_record.MSMatching);
    ExchangeCheck(store, m_rt, m_record.RTMatching);
    ExchangeCheck(store, m_ri, m_record.RIMatching);
    ExchangeCheck(store, m_multiple, m_record.MultipleMatching);
    if (!ExchangeReal(store, m_rtWindow, m_record.RTWindowWidth, 0.05, 1000, "%g") ||
        !ExchangeReal(store, m_riWindow, m_record.RIWindowWidth, 1, 10000, "%g"))
        return false;
    if (store)
        m_record.Weighting = m_weighting->currentIndex();
    else
        m_weighting->setCurrentIndex(m_record.Weighting >= 0 && m_record.Weighting <= 4 ? m_record.Weighting : 0);
    ExchangeText(store, m_range, m_record.TimeRange);
    ExchangeCheck(store, m_massOn, m_record.MassThresholdOn);
    // The values are tested even while their edits are disabled.
    if (!ExchangeReal(store, m_mass, m_record.MassThreshold, 0.001, 99.999, "%g"))
        return false;
    ExchangeCheck(store, m_areaOn, m_record.AreaThresholdOn);
    if (!ExchangeReal(store, m_areaValue, m_record.AreaThreshold, 0.001, 99.999, "%g"))
        return false;
    ExchangeCheck(store, m_subfolders, m_record.SearchSubfolders);
    if (store && !CSearchOptions::IsValidTimeRange(m_record.TimeRange)) {
        Messages().ShowMessage("Please enter a valid time range", "Error", MessageIcon::Exclamation);
        m_range->setFocus();
        return false;
    }
    ExchangeCheck(store, m_absolute, m_record.AbsoluteAreaHeight);
    return true;
}

bool CSearchBasicOptions::StoreData()
{
    return Exchange(true);
}

void CSearchBasicOptions::LoadData()
{
    Exchange(false);
    ApplyEnabling();
    ApplyAreaHeightLabels();
}

void CSearchBasicOptions::ApplyEnabling()
{
    m_mass->setEnabled(m_massOn->isChecked());
    m_areaValue->setEnabled(m_areaOn->isChecked());
}

void CSearchBasicOptions::ApplyAreaHeightLabels()
{
    const bool absolute = m_absolute->isChecked();
    m_area->setText(absolute ? QStringLiteral("absolute Area matching  ") : QStringLiteral("Area% matching  "));
    m_height->setText(absolute ? QStringLiteral("absolute Height matching  ") : QStringLiteral("Height% matching  "));
}

void CSearchBasicOptions::OnMassThresholdClicked()
{
    StoreData();
    ApplyEnabling();
}

void CSearchBasicOptions::OnAreaThresholdClicked()
{
    StoreData();
    ApplyEnabling();
}

void CSearchBasicOptions::OnAbsoluteClicked()
{
    StoreData();
    ApplyAreaHeightLabels();
}

} // namespace corvelin
