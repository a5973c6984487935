#pragma once
// The "Browse" of a page that takes one chromatogram file: the open dialog (the plug-ins' filter list, starting on
// the filter chosen last), the file read for the page's use (engine/workflow/InputReader.h: one message when it
// cannot be read), and the dialog again until a file is read and taken or the user cancels.
#include <QString>
#include <functional>
#include <string>

#include "engine/workflow/InputReader.h"

class QWidget;

namespace corvelin {

class CLibraryChromatogram;
class CSearchOptions;

// Called with a file that was read; false opens the dialog again.
using ChromatogramTaker =
    std::function<bool(const std::string& path, const CLibraryChromatogram& chromatogram, const CInputRead& read)>;

// Returns whether a file was taken (false: cancelled, or no plug-in list to build the filter from).
bool BrowseChromatogram(QWidget* parent, const QString& initialFolder, InputUse use, const CSearchOptions& options,
                        const ChromatogramTaker& take);

} // namespace corvelin
