#include "gui/options/SearchOptionsSummary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/widgets/QtText.h"
#include "engine/options/SearchOptions.h"
#include "gui/widgets/DataExchange.h"

namespace corvelin {

CSearchOptionsSummary::CSearchOptionsSummary(CSearchOptions& record, QWidget* parent)
    : CSearchOptionsPage(record, QStringLiteral("Summary Options"), parent)
{
    auto* istdBox = new QGroupBox(QStringLiteral("ISTD Options"), this);
    auto* istdForm = new QFormLayout(istdBox);
    m_relative = new QCheckBox(QStringLiteral("Values relative to ISTD"), istdBox);
    m_istd = new QComboBox(istdBox);
    m_istd->setEditable(true);
    m_istd->setInsertPolicy(QComboBox::NoInsert);
    m_istdMatch = new QLineEdit(istdBox);
    m_istdRT = new QLineEdit(istdBox);
    istdForm->addRow(m_relative);
    istdForm->addRow(QStringLiteral("ISTD:"), m_istd);
    istdForm->addRow(QStringLiteral("ISTD Match factor"), m_istdMatch);
    istdForm->addRow(QStringLiteral("ISTD RT:"), m_istdRT);

    auto* calcBox = new QGroupBox(QStringLiteral("Calculation Options"), this);
    auto* calcForm = new QFormLayout(calcBox);
    m_minMatch = new QLineEdit(calcBox);
    for (QLineEdit* edit : {m_istdMatch, m_istdRT, m_minMatch})
        edit->setMaximumWidth(100);
    m_istd->setMinimumWidth(220);
    calcForm->addRow(QStringLiteral("Min Match:"), m_minMatch);

    auto* valueBox = new QGroupBox(QStringLiteral("Value Options"), this);
    auto* valueForm = new QFormLayout(valueBox);
    m_show = new QComboBox(valueBox);
    m_show->addItems(
        {QStringLiteral("Area"), QStringLiteral("Height"), QStringLiteral("RT"), QStringLiteral("Quartiles (Area)")});
    valueForm->addRow(QStringLiteral("Show: "), m_show);

    auto* open = new QPushButton(this);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    auto* save = new QPushButton(this);
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addStretch(1);
    fileButtons->addWidget(open);
    fileButtons->addWidget(save);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(istdBox);
    layout->addWidget(calcBox);
    layout->addWidget(valueBox);
    layout->addStretch(1);
    layout->addLayout(fileButtons);

    connect(m_relative, &QCheckBox::clicked, this, &CSearchOptionsSummary::OnRelativeClicked);
    connect(open, &QPushButton::clicked, this, [this] {
        OpenParameterFile(false);
        FillISTDList();
    });
    connect(save, &QPushButton::clicked, this, &CSearchOptionsSummary::SaveParameterFile);

    FillISTDList();
    Exchange(false);
    m_istd->setEnabled(m_relative->isChecked());
}

bool CSearchOptionsSummary::Exchange(bool store)
{
    if (store) {
        m_record.SummaryDisplayOption = m_show->currentIndex();
        m_record.SummaryISTDName = ToStdString(m_istd->currentText());
    } else {
        m_show->setCurrentIndex(std::clamp(m_record.SummaryDisplayOption, 0, 3));
    }
    ExchangeCheck(store, m_relative, m_record.SummaryRelative);
    return ExchangeInt(store, m_istdMatch, m_record.SummaryISTDMatch, 1, 1000) &&
           ExchangeReal(store, m_istdRT, m_record.SummaryISTDRT, 0, 99999, "%g") &&
           ExchangeInt(store, m_minMatch, m_record.SummaryMinMatch, 0, 1000);
}

void CSearchOptionsSummary::FillISTDList()
{
    m_istd->clear();
    std::vector<std::string> names;
    for (int i = 0; i < m_record.GetSpectraCount(); ++i) {
        std::string name;
        m_record.GetSpectrum(i, &name);
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        m_istd->addItem(ToQString(name));
    // The entry equal to the ISTD name (ignoring case) is selected; none gives an empty text.
    const int found = m_istd->findText(ToQString(m_record.SummaryISTDName), Qt::MatchFixedString);
    m_istd->setCurrentIndex(found);
    if (found < 0)
        m_istd->setEditText(QString());
}

bool CSearchOptionsSummary::StoreData()
{
    return Exchange(true);
}

void CSearchOptionsSummary::LoadData()
{
    Exchange(false);
    m_istd->setEnabled(m_relative->isChecked());
    FillISTDList();
}

void CSearchOptionsSummary::OnSetActive()
{
    FillISTDList();
}

void CSearchOptionsSummary::OnRelativeClicked()
{
    StoreData();
    m_istd->setEnabled(m_relative->isChecked());
}

} // namespace corvelin
