#include "gui/options/SearchMassspecs.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/widgets/QtText.h"
#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "gui/plots/SpectrumDraw.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadMassSpecsFile.h"
#include "gui/widgets/DataExchange.h"
#include "gui/widgets/FileDialogs.h"

namespace corvelin {

CSearchMassspecs::CSearchMassspecs(CSearchOptions& record, QWidget* parent)
    : CSearchOptionsPage(record, QStringLiteral("Mass Spec Options"), parent)
{
    auto* modeBox = new QGroupBox(QStringLiteral("Spectral include/exclude list"), this);
    auto* modeLayout = new QVBoxLayout(modeBox);
    m_modes[0] = new QRadioButton(QStringLiteral("Don't use spectral include/exclude list"), modeBox);
    m_modes[1] = new QRadioButton(QStringLiteral("Ignore peaks with specified mass spectra"), modeBox);
    m_modes[2] = new QRadioButton(QStringLiteral("Use only peaks with specified mass spectra"), modeBox);
    for (QRadioButton* mode : m_modes)
        modeLayout->addWidget(mode);
    auto* fitRow = new QHBoxLayout;
    m_fit = new QLineEdit(modeBox);
    m_fit->setMaximumWidth(70);
    fitRow->addWidget(new QLabel(QStringLiteral("Fit Threshold (0-999):"), modeBox));
    fitRow->addWidget(m_fit);
    fitRow->addStretch(1);
    modeLayout->addLayout(fitRow);

    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("nPeaks")});
    m_list->header()->resizeSection(0, 140);
    m_list->header()->resizeSection(1, 50);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAllColumnsShowFocus(true);

    auto* spectrumBox = new QGroupBox(QStringLiteral("Selected Spectrum"), this);
    auto* spectrumLayout = new QVBoxLayout(spectrumBox);
    m_spectrum = new CSpectrumDraw(spectrumBox);
    spectrumLayout->addWidget(m_spectrum);

    auto* add = new QPushButton(QStringLiteral("Add ..."), this);
    auto* remove = new QPushButton(QStringLiteral("Remove"), this);
    auto* open = new QPushButton(this);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    auto* save = new QPushButton(this);
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    buttons->addWidget(open);
    buttons->addWidget(save);

    auto* grid = new QGridLayout;
    grid->addWidget(modeBox, 0, 0, 1, 2);
    grid->addWidget(m_list, 1, 0);
    grid->addWidget(spectrumBox, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &CSearchMassspecs::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CSearchMassspecs::OnRemove);
    connect(open, &QPushButton::clicked, this, [this] {
        OpenParameterFile(true);
        FillList();
    });
    connect(save, &QPushButton::clicked, this, [this] {
        if (!StoreData())
            return;
        StoreCheckMarks();
        SaveParameterFile();
    });
    connect(m_list, &QTreeWidget::itemChanged, this, &CSearchMassspecs::OnItemChanged);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CSearchMassspecs::OnSelectionChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { m_list->editItem(item, 0); });

    Exchange(false);
    FillList();
}

bool CSearchMassspecs::Exchange(bool store)
{
    if (store) {
        for (int mode = 0; mode < 3; ++mode)
            if (m_modes[mode]->isChecked())
                m_record.SpectralListMode = mode;
    } else {
        const int mode =
            m_record.SpectralListMode >= 0 && m_record.SpectralListMode <= 2 ? m_record.SpectralListMode : 0;
        m_modes[mode]->setChecked(true);
    }
    return ExchangeInt(store, m_fit, m_record.FitThreshold, 0, 999);
}

bool CSearchMassspecs::StoreData()
{
    return Exchange(true);
}

void CSearchMassspecs::LoadData()
{
    Exchange(false);
    FillList();
}

void CSearchMassspecs::OnSetActive()
{
    FillList();
}

bool CSearchMassspecs::OnKillActive()
{
    if (!StoreData())
        return false;
    StoreCheckMarks();
    return true;
}

bool CSearchMassspecs::OnOK()
{
    return OnKillActive();
}

void CSearchMassspecs::FillList()
{
    m_filling = true;
    m_list->clear();
    for (int i = 0; i < m_record.GetSpectraCount(); ++i) {
        std::string name;
        bool active = false;
        const CLibraryMassSpectrum* spectrum = m_record.GetSpectrum(i, &name, &active);
        auto* item = new QTreeWidgetItem(m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
        item->setText(0, ToQString(name));
        item->setText(1, ToQString(FormatC("%2i", spectrum ? static_cast<int>(spectrum->GetCount()) : 0)));
        item->setCheckState(0, active ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    m_spectrum->SetSpectrum(nullptr, {});
}

void CSearchMassspecs::StoreCheckMarks()
{
    for (int i = 0; i < m_list->topLevelItemCount() && i < m_record.GetSpectraCount(); ++i)
        m_record.SetSpectrumActive(i, m_list->topLevelItem(i)->checkState(0) == Qt::Checked);
}

void CSearchMassspecs::Rename(int row, const std::string& name)
{
    if (name.empty() || row < 0 || row >= m_record.GetSpectraCount())
        return;
    m_record.RenameSpectrum(row, name);
    const CLibraryMassSpectrum* spectrum = m_record.GetSpectrum(row);
    m_spectrum->SetSpectrum(spectrum ? &spectrum->Data() : nullptr, name);
    if (QTreeWidgetItem* item = m_list->topLevelItem(row); item && item->text(0) != ToQString(name)) {
        m_filling = true;
        item->setText(0, ToQString(name));
        m_filling = false;
    }
}

void CSearchMassspecs::OnItemChanged(QTreeWidgetItem* item, int column)
{
    if (m_filling || column != 0)
        return;
    const int row = m_list->indexOfTopLevelItem(item);
    std::string current;
    m_record.GetSpectrum(row, &current);
    const std::string text = ToStdString(item->text(0));
    if (text != current)
        Rename(row, text);
}

void CSearchMassspecs::OnSelectionChanged()
{
    QTreeWidgetItem* item = m_list->currentItem();
    const int row = item && item->isSelected() ? m_list->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= m_record.GetSpectraCount()) {
        m_spectrum->SetSpectrum(nullptr, {});
        return;
    }
    std::string name;
    const CLibraryMassSpectrum* spectrum = m_record.GetSpectrum(row, &name);
    m_spectrum->SetSpectrum(spectrum ? &spectrum->Data() : nullptr, name);
}

void CSearchMassspecs::OnRemove()
{
    Exchange(false);
    for (;;) {
        int first = -1;
        for (int i = 0; i < m_list->topLevelItemCount(); ++i)
            if (m_list->topLevelItem(i)->isSelected()) {
                first = i;
                break;
            }
        if (first < 0)
            break;
        m_record.RemoveSpectrum(first);
        m_filling = true;
        delete m_list->takeTopLevelItem(first);
        m_filling = false;
    }
    m_spectrum->SetSpectrum(nullptr, {});
}

void CSearchMassspecs::OnAdd()
{
    if (!StoreData())
        return;
    StoreCheckMarks();
    std::string filter;
    try {
        filter = DatasystemPlugins().BuildMassSpecsFilter();
    } catch (const CUserException&) {
        return;
    }
    CFileChoice request;
    request.kind = CFileChoice::Open;
    request.filter = filter;
    const QString path = ChooseFile(this, request).path;
    if (path.isEmpty())
        return;
    AddFromFile(ToStdString(path));
}

void CSearchMassspecs::AddFromFile(const std::string& path)
{
    StoreCheckMarks();
    try {
        AddMassSpecsFromFile(DatasystemPluginsIfCreated(), path, m_record);
    } catch (const CUserException&) {
        return;
    } catch (const CArchiveException&) {
        return;
    }
    FillList();
}

} // namespace corvelin
