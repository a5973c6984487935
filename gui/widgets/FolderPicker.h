#pragma once
// The folder picker: a directory chooser with a title, starting at a folder. Returns the chosen folder with a
// trailing "/" appended unless it already ends with "/" or "\", or an empty text when the user cancelled.
#include <QString>

class QWidget;

namespace corvelin {

QString PickFolder(QWidget* parent, const QString& title, const QString& startFolder);

// Appends "/" unless the text already ends with "/" or "\" (an empty text stays empty).
QString WithTrailingSeparator(const QString& folder);

} // namespace corvelin
