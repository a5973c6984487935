#include "gui/widgets/ColumnArrange.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/widgets/QtText.h"
#include "engine/table/ReportTable.h"

namespace corvelin {

CColumnArrange::CColumnArrange(CReportTable& table, std::string section, QWidget* parent)
    : QDialog(parent), m_table(table), m_section(std::move(section)), m_arrangement(table)
{
    setWindowTitle(QStringLiteral("Column Arrangement"));

    m_available = new QListWidget(this);
    m_used = new QListWidget(this);
    m_toUsed = new QPushButton(QStringLiteral(">"), this);
    m_toAvailable = new QPushButton(QStringLiteral("<"), this);
    m_up = new QPushButton(this);
    m_up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_up->setToolTip(QStringLiteral("Move up"));
    m_down = new QPushButton(this);
    m_down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_down->setToolTip(QStringLiteral("Move down"));
    m_width = new QLineEdit(this);
    m_width->setValidator(new QIntValidator(0, 9999, m_width));
    m_width->setMaximumWidth(70);

    connect(m_toUsed, &QPushButton::clicked, this, &CColumnArrange::OnMoveToUsed);
    connect(m_toAvailable, &QPushButton::clicked, this, &CColumnArrange::OnMoveToAvailable);
    connect(m_up, &QPushButton::clicked, this, &CColumnArrange::OnMoveUp);
    connect(m_down, &QPushButton::clicked, this, &CColumnArrange::OnMoveDown);
    connect(m_width, &QLineEdit::editingFinished, this, &CColumnArrange::OnWidthEdited);
    connect(m_used, &QListWidget::currentRowChanged, this, &CColumnArrange::OnUsedSelectionChanged);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &CColumnArrange::OnMoveToUsed);
    connect(m_used, &QListWidget::itemDoubleClicked, this, &CColumnArrange::OnMoveToAvailable);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("available columns"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("used columns"), this), 0, 2);
    grid->addWidget(m_available, 1, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(m_toUsed);
    middle->addWidget(m_toAvailable);
    middle->addStretch(1);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_used, 1, 2);
    auto* side = new QVBoxLayout;
    side->addStretch(1);
    side->addWidget(m_up);
    side->addWidget(m_down);
    side->addStretch(1);
    grid->addLayout(side, 1, 3);
    auto* widthRow = new QHBoxLayout;
    widthRow->addStretch(1);
    widthRow->addWidget(new QLabel(QStringLiteral("selected column width"), this));
    widthRow->addWidget(m_width);
    grid->addLayout(widthRow, 2, 2, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CColumnArrange::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CColumnArrange::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    resize(460, 360);

    Fill(-1, -1);
}

void CColumnArrange::Fill(int selectUsed, int selectAvailable)
{
    m_filling = true;
    m_available->clear();
    for (const auto& item : m_arrangement.Available())
        m_available->addItem(ToQString(item.Header));
    m_used->clear();
    for (const auto& item : m_arrangement.Used())
        m_used->addItem(ToQString(item.Header));
    m_available->setCurrentRow(selectAvailable);
    m_used->setCurrentRow(selectUsed);
    m_filling = false;
    OnUsedSelectionChanged();
}

void CColumnArrange::OnUsedSelectionChanged()
{
    if (m_filling)
        return;
    const int row = m_used->currentRow();
    const bool selected = row >= 0 && row < static_cast<int>(m_arrangement.Used().size());
    m_width->setEnabled(selected);
    m_width->setText(selected ? QString::number(m_arrangement.Used()[static_cast<std::size_t>(row)].Width())
                              : QString());
    m_up->setEnabled(selected && m_arrangement.CanMoveUp(row));
    m_down->setEnabled(selected && m_arrangement.CanMoveDown(row));
}

void CColumnArrange::OnMoveToUsed()
{
    const int used = m_arrangement.MoveToUsed(m_available->currentRow());
    if (used >= 0)
        Fill(used, std::min(m_available->currentRow(), static_cast<int>(m_arrangement.Available().size()) - 1));
}

void CColumnArrange::OnMoveToAvailable()
{
    const int row = m_used->currentRow();
    if (m_arrangement.MoveToAvailable(row))
        Fill(std::min(row, static_cast<int>(m_arrangement.Used().size()) - 1),
             static_cast<int>(m_arrangement.Available().size()) - 1);
}

void CColumnArrange::OnMoveUp()
{
    Fill(m_arrangement.MoveUp(m_used->currentRow()), m_available->currentRow());
}

void CColumnArrange::OnMoveDown()
{
    Fill(m_arrangement.MoveDown(m_used->currentRow()), m_available->currentRow());
}

void CColumnArrange::OnWidthEdited()
{
    const int row = m_used->currentRow();
    if (row < 0 || row >= static_cast<int>(m_arrangement.Used().size()))
        return;
    bool ok = false;
    const int width = m_width->text().toInt(&ok);
    if (ok)
        m_arrangement.SetWidth(row, width);
}

void CColumnArrange::accept()
{
    OnWidthEdited();
    m_arrangement.Apply(m_table, m_section);
    QDialog::accept();
}

} // namespace corvelin
