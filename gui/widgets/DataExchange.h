#pragma once
// Data exchange between edits and fields with the framework's range test: storing reads the edit, checks the
// range and, on a violation, shows the standard range message, puts the focus into the edit and fails;
// loading writes the value into the edit.
#include <QString>
#include <string>

class QLineEdit;
class QCheckBox;

namespace corvelin {

// "Please enter an integer between %1 and %2." / "Please enter a number between %1 and %2."
std::string IntegerRangeMessage(long long min, long long max);
std::string RealRangeMessage(double min, double max);

bool ExchangeInt(bool store, QLineEdit* edit, int& value, long long min, long long max);
// format: the printf format the edit shows the value with (for example "%.2f").
bool ExchangeReal(bool store, QLineEdit* edit, double& value, double min, double max, const char* format);
void ExchangeCheck(bool store, QCheckBox* box, int& flag);
void ExchangeText(bool store, QLineEdit* edit, std::string& text);

} // namespace corvelin
