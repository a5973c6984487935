#include "gui/widgets/DragBand.h"

#include <QRubberBand>

namespace corvelin {

void CDragBand::Press(const QPoint& pos)
{
    m_start = pos;
    m_tracking = true;
    if (m_band == nullptr)
        m_band = new QRubberBand(QRubberBand::Rectangle, m_owner);
    m_band->setGeometry(QRect(pos, QSize()));
    m_band->show();
}

bool CDragBand::Move(const QPoint& pos)
{
    if (!m_tracking)
        return false;
    m_band->setGeometry(QRect(m_start, pos).normalized());
    return true;
}

bool CDragBand::Release()
{
    if (!m_tracking)
        return false;
    m_tracking = false;
    m_band->hide();
    return true;
}

} // namespace corvelin
