#pragma once
// What the raw-data reader modules have in common behind their exports: refusing a file with a code (and,
// when asked, a message), and reading a run into the exchange chromatogram with the shared peak detector.
#include <functional>
#include <string>

#include "core/LibraryChromatogram.h"
#include "peak-detector/ScanRun.h"

// Parses a data file into a run; throws CRunReadError when the file is refused.
using RunParser = std::function<CScanRun(const std::string& path)>;

// IsFileReadable: 0 when parse accepts path, otherwise the refusal's errno-style code. With showMessages set
// the refusal's reason is shown (caption "File Read Error"). Never throws.
int ReaderIsFileReadable(const RunParser& parse, const char* path, int showMessages);

// ReadFromDataSystem: parses path, detects peaks with the settings of settingsSection, filters by
// minAreaPercent and fills chromatogram. 0 on success; otherwise non-zero with the reason in *errorText.
// Never throws.
int ReaderReadFromDataSystem(const RunParser& parse, const std::string& settingsSection, const char* path,
                             CLibraryChromatogram* chromatogram, double minAreaPercent, std::string* errorText);

// Copies text into a plug-in buffer of kPluginBufferSize characters (truncated, always terminated).
void CopyToPluginBuffer(char* buffer, const std::string& text);
