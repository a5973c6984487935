#include "gui/options/SearchOptionsRICalibration.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>

#include "gui/widgets/QtText.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/NumberScan.h"
#include "engine/table/CellCompare.h"
#include "gui/widgets/DataExchange.h"
#include "gui/widgets/OdorListCtrl.h"

namespace corvelin {

int RICalibrationInsertPosition(const std::vector<std::pair<double, double>>& rows, double rt, double ri)
{
    int smaller = -1;
    bool haveBefore = false, haveAfter = false;
    double riBefore = 0, riAfter = 0;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const auto [rowRT, rowRI] = rows[static_cast<std::size_t>(i)];
        if (rowRT < rt) {
            smaller = i;
            riBefore = rowRI;
            haveBefore = true;
        } else if (rowRT > rt && !haveAfter) {
            riAfter = rowRI;
            haveAfter = true;
        }
    }
    if ((haveBefore && ri < riBefore) || (haveAfter && ri > riAfter))
        return -1;
    return smaller + 1;
}

CSearchOptionsRICalibration::CSearchOptionsRICalibration(CSearchOptions& record, QWidget* parent)
    : CSearchOptionsPage(record, QStringLiteral("RI Calibration"), parent)
{
    auto* data = new QGroupBox(QStringLiteral("Calibration Data"), this);
    auto* grid = new QGridLayout(data);
    m_name = new QLineEdit(data);
    m_rt = new QLineEdit(data);
    m_ri = new QLineEdit(data);
    m_rt->setMaximumWidth(90);
    m_ri->setMaximumWidth(90);
    grid->addWidget(new QLabel(QStringLiteral("Compound Name"), data), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("RT"), data), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("RI"), data), 0, 2);
    grid->addWidget(m_name, 1, 0);
    grid->addWidget(m_rt, 1, 1);
    grid->addWidget(m_ri, 1, 2);
    m_add = new QPushButton(QStringLiteral("Add"), data);
    m_edit = new QPushButton(QStringLiteral("Edit"), data);
    m_remove = new QPushButton(QStringLiteral("Remove"), data);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    m_list = new COdorListCtrl(data);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    CReportTable& table = m_list->Table();
    table.InsertColumn("Compound Name", 150);
    table.InsertColumn("RT", 70);
    table.InsertColumn("RI", 70);
    m_list->SyncHeader();
    m_list->SetEmptyText("Use this list to specify RT-RI-Calibration data.");
    grid->addWidget(m_list, 2, 0, 1, 3);
    grid->addLayout(buttons, 2, 3);

    auto* option = new QGroupBox(QStringLiteral("RI Calculation option"), this);
    auto* optionLayout = new QHBoxLayout(option);
    m_kovats = new QRadioButton(QStringLiteral("Kovats (isothermal)"), option);
    m_linear = new QRadioButton(QStringLiteral("linear RI (temp. programmed)"), option);
    optionLayout->addWidget(m_kovats);
    optionLayout->addWidget(m_linear);
    optionLayout->addStretch(1);
    auto* open = new QPushButton(option);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    auto* save = new QPushButton(option);
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    optionLayout->addWidget(open);
    optionLayout->addWidget(save);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(data, 1);
    layout->addWidget(option);

    connect(m_add, &QPushButton::clicked, this, &CSearchOptionsRICalibration::OnAdd);
    connect(m_edit, &QPushButton::clicked, this, &CSearchOptionsRICalibration::OnEdit);
    connect(m_remove, &QPushButton::clicked, this, &CSearchOptionsRICalibration::OnRemove);
    connect(m_name, &QLineEdit::textChanged, this, &CSearchOptionsRICalibration::OnNameChanged);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CSearchOptionsRICalibration::OnRowSelected);
    connect(open, &QPushButton::clicked, this, [this] {
        OpenParameterFile(true);
        FillList();
    });
    connect(save, &QPushButton::clicked, this, [this] {
        if (!StoreData())
            return;
        StoreListIntoRecord();
        SaveParameterFile();
    });

    Exchange(false);
    FillList();
    UpdateButtons();
}

bool CSearchOptionsRICalibration::Exchange(bool store)
{
    ExchangeText(store, m_name, Name);
    if (!ExchangeReal(store, m_rt, RT, 0, 10000, "%g") || !ExchangeReal(store, m_ri, RI, 0, 100000, "%g"))
        return false;
    if (store)
        m_record.RICalibration().SetCalculationOption(m_linear->isChecked() ? 1 : 0);
    else
        (m_record.RICalibration().GetCalculationOption() == 0 ? m_kovats : m_linear)->setChecked(true);
    return true;
}

bool CSearchOptionsRICalibration::StoreData()
{
    return Exchange(true);
}

void CSearchOptionsRICalibration::LoadData()
{
    Exchange(false);
    FillList();
}

void CSearchOptionsRICalibration::OnSetActive()
{
    FillList();
}

bool CSearchOptionsRICalibration::OnOK()
{
    if (!StoreData())
        return false;
    StoreListIntoRecord();
    return true;
}

void CSearchOptionsRICalibration::FillList()
{
    const CLibraryRICalibrationData& calibration = m_record.RICalibration();
    if (calibration.GetCount() == 0)
        return; // an empty table leaves the rows as they are
    CReportTable& table = m_list->Table();
    table.DeleteAllRows();
    for (std::size_t i = 0; i < calibration.GetCount(); ++i) {
        const CLibraryRICalibrationPoint& point = calibration.GetPoint(i);
        table.AddRow({point.GetName(), FormatC("%.2f", point.GetRT()), FormatC("%.1f", point.GetRI())});
    }
    SortByRT();
    m_list->FitColumnsToContent();
    UpdateButtons();
}

void CSearchOptionsRICalibration::SortByRT()
{
    m_list->Sort({2, kCompareReal});
}

std::vector<std::pair<double, double>> CSearchOptionsRICalibration::RowValues() const
{
    const CReportTable& table = m_list->Table();
    std::vector<std::pair<double, double>> rows;
    for (int r = 0; r < table.RowCount(); ++r)
        rows.emplace_back(LeadingReal(table.Cell(r, 1)), LeadingReal(table.Cell(r, 2)));
    return rows;
}

int CSearchOptionsRICalibration::FindRowByName(const std::string& name, bool caseSensitive) const
{
    const CReportTable& table = m_list->Table();
    for (int r = 0; r < table.RowCount(); ++r)
        if (QString::compare(ToQString(table.Cell(r, 0)), ToQString(name),
                             caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0)
            return r;
    return -1;
}

void CSearchOptionsRICalibration::OnAdd()
{
    if (!StoreData())
        return;
    if (FindRowByName(Name, false) >= 0) {
        ShowMessage("This compound already exists. Please use the edit function");
        return;
    }
    const int position = RICalibrationInsertPosition(RowValues(), RT, RI);
    if (position < 0) {
        ShowMessage("The RI value can only increase with increasing RT");
        return;
    }
    m_list->Table().InsertRow(position, {Name, FormatC("%.2f", RT), FormatC("%.1f", RI)});
    m_list->SelectRows({position});
    m_list->scrollTo(m_list->model()->index(position, 0));
    UpdateButtons();
}

void CSearchOptionsRICalibration::OnEdit()
{
    if (!StoreData())
        return;
    const std::vector<int> selected = m_list->SelectedRows();
    if (selected.empty())
        return;
    const int row = selected.front();
    CReportTable& table = m_list->Table();
    if (table.Cell(row, 0) != Name) {
        const int other = FindRowByName(Name, false);
        if (other >= 0 && other != row) {
            ShowMessage("This compound already exists. Please use the edit function");
            return;
        }
    }
    const int position = RICalibrationInsertPosition(RowValues(), RT, RI);
    if (position < 0) {
        ShowMessage("The RI value can only increase with increasing RT");
        return;
    }
    table.SetCell(row, 0, Name);
    table.SetCell(row, 1, FormatC("%.2f", RT));
    table.SetCell(row, 2, FormatC("%.1f", RI));
    if (row != position)
        SortByRT();
}

void CSearchOptionsRICalibration::OnRemove()
{
    const std::vector<int> selected = m_list->SelectedRows();
    if (!selected.empty())
        m_list->Table().DeleteRow(selected.front());
    UpdateButtons();
}

void CSearchOptionsRICalibration::OnRowSelected()
{
    const std::vector<int> selected = m_list->SelectedRows();
    if (!selected.empty()) {
        const CReportTable& table = m_list->Table();
        const int row = selected.front();
        Name = table.Cell(row, 0);
        RT = LeadingReal(table.Cell(row, 1));
        RI = LeadingReal(table.Cell(row, 2));
        m_name->setText(ToQString(Name));
        m_rt->setText(ToQString(table.Cell(row, 1)));
        m_ri->setText(ToQString(table.Cell(row, 2)));
    }
    UpdateButtons();
}

void CSearchOptionsRICalibration::OnNameChanged()
{
    const bool exists = FindRowByName(ToStdString(m_name->text()), false) >= 0;
    const bool hasRows = m_list->Table().RowCount() > 0;
    m_add->setEnabled(true);
    m_edit->setEnabled(exists || hasRows);
    m_remove->setEnabled(exists);
}

void CSearchOptionsRICalibration::UpdateButtons()
{
    const bool selected = !m_list->SelectedRows().empty();
    m_edit->setEnabled(selected);
    m_remove->setEnabled(selected);
}

void CSearchOptionsRICalibration::StoreListIntoRecord()
{
    CLibraryRICalibrationData& calibration = m_record.RICalibration();
    calibration.Clear();
    const CReportTable& table = m_list->Table();
    for (int r = 0; r < table.RowCount(); ++r) {
        auto point = std::make_unique<CLibraryRICalibrationPoint>();
        point->Set(table.Cell(r, 0), LeadingReal(table.Cell(r, 1)), LeadingReal(table.Cell(r, 2)),
                   CLibraryMassSpectrumData());
        calibration.AddPoint(std::move(point));
    }
}

} // namespace corvelin
