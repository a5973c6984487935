#include "gui/widgets/DataExchange.h"

#include <QCheckBox>
#include <QLineEdit>
#include <cstdio>
#include <cstdlib>

#include "gui/widgets/QtText.h"
#include "engine/platform/MessageSink.h"

namespace corvelin {

namespace {

// Shows the framework's standard number messages.
bool Refuse(QLineEdit* edit, const std::string& text)
{
    Messages().ShowMessage(text, {}, MessageIcon::Exclamation);
    edit->setFocus();
    edit->selectAll();
    return false;
}

QString FormatReal(double value, const char* format)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return QString::fromLatin1(buffer);
}

std::string ShortReal(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

} // namespace

std::string IntegerRangeMessage(long long min, long long max)
{
    return "Please enter an integer between " + std::to_string(min) + " and " + std::to_string(max) + ".";
}

std::string RealRangeMessage(double min, double max)
{
    return "Please enter a number between " + ShortReal(min) + " and " + ShortReal(max) + ".";
}

bool ExchangeInt(bool store, QLineEdit* edit, int& value, long long min, long long max)
{
    if (!store) {
        edit->setText(QString::number(value));
        return true;
    }
    bool ok = false;
    const long long read = edit->text().trimmed().toLongLong(&ok);
    if (!ok)
        return Refuse(edit, "Please enter an integer.");
    if (read < min || read > max)
        return Refuse(edit, IntegerRangeMessage(min, max));
    value = static_cast<int>(read);
    return true;
}

bool ExchangeReal(bool store, QLineEdit* edit, double& value, double min, double max, const char* format)
{
    if (!store) {
        edit->setText(FormatReal(value, format));
        return true;
    }
    bool ok = false;
    const double read = edit->text().trimmed().toDouble(&ok);
    if (!ok)
        return Refuse(edit, "Please enter a number.");
    if (read < min || read > max)
        return Refuse(edit, RealRangeMessage(min, max));
    value = read;
    return true;
}

void ExchangeCheck(bool store, QCheckBox* box, int& flag)
{
    if (store)
        flag = box->isChecked() ? 1 : 0;
    else
        box->setChecked(flag != 0);
}

void ExchangeText(bool store, QLineEdit* edit, std::string& text)
{
    if (store)
        text = ToStdString(edit->text());
    else
        edit->setText(ToQString(text));
}

} // namespace corvelin
