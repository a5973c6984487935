#include "gui/widgets/IconButton.h"

#include <QPushButton>

namespace corvelin {

QPushButton* IconButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip)
{
    auto* button = new QPushButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    return button;
}

} // namespace corvelin
