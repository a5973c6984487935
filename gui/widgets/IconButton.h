#pragma once
// A push button that shows one of the style's standard icons and a tip instead of a text (the pages' "open" and
// "save search parameter file" buttons).
#include <QString>
#include <QStyle>

class QPushButton;
class QWidget;

namespace corvelin {

QPushButton* IconButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip);

} // namespace corvelin
