#pragma once
// The engine's texts are 8-bit strings (UTF-8 on Linux); these convert at the widget boundary.
#include <QString>
#include <string>

namespace corvelin {

inline QString ToQString(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace corvelin
