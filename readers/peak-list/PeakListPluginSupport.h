#pragma once
// What the peak-list reader modules (peak tables, AMDIS ELU files) have in common behind their exports: reading
// the head of a file within a bound, refusing a file with a code (and, when asked, a message), turning a read
// into the code and error text of ReadFromDataSystem, and the rules every peak list follows (the minimum area, the
// record's totals, names and peak numbers). The raw-data readers share theirs in
// readers/peak-detector/ReaderPluginSupport.h.
#include <cstddef>
#include <exception>
#include <functional>
#include <new>
#include <string>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

namespace peaklist {

// A refused or unreadable file: an errno-style code and a sentence for the user.
class FileError : public CFormatException {
public:
    FileError(int code, const std::string& reason) : CFormatException(reason, code) {}
};

// The first maxBytes of a regular file (all of it when shorter). Throws FileError with the errno of a failed
// open or read, EISDIR for a folder.
std::string ReadFileHead(const std::string& path, std::size_t maxBytes);

// IsFileReadable: EINVAL without a path, otherwise what check returns (0 = readable). With showMessages set a
// refusal is shown (caption "File Read Error"): the reason check gave, else "Cannot open '<path>': <error>".
// Never throws.
int IsFileReadableExport(const char* path, int showMessages,
                         const std::function<int(const std::string& path, std::string& reason)>& check) noexcept;

// Whether a peak of area is left out by the minimum area: below minAreaPercent of totalArea (0 keeps every peak,
// and so does a run without a total).
inline bool BelowMinimumArea(double area, double totalArea, double minAreaPercent) noexcept
{
    return minAreaPercent > 0 && totalArea > 0 && area * 100 / totalArea < minAreaPercent;
}

// Completes a chromatogram whose peaks are in place, in RT order: the run's totals, dataFile as DataFile and its
// name without folder and extension as SampleName, the peaks numbered 1 ... n.
void FinishPeakList(CLibraryChromatogram& chromatogram, double totalArea, double totalHeight,
                    const std::string& dataFile);

// ReadFromDataSystem's failure: the text to *errorText (when given), the chromatogram emptied; returns code (an
// errno-style value, 1 when there is none).
int FailedRead(CLibraryChromatogram* chromatogram, std::string* errorText, const std::string& text,
               int code = 1) noexcept;

// ReadFromDataSystem: calls read(path, chromatogram); 0 when it returns. A FormatError becomes
// "<formatPrefix><what>" and its code, another refusal of the file its text and code, out of memory ENOMEM, any
// other exception its text and 1; the chromatogram is emptied then. Never throws.
template <class FormatError>
int ReadFromDataSystemExport(const char* path, CLibraryChromatogram* chromatogram, std::string* errorText,
                             const char* formatPrefix,
                             const std::function<void(const std::string& path, CLibraryChromatogram&)>& read) noexcept
{
    if (path == nullptr || chromatogram == nullptr)
        return FailedRead(nullptr, errorText, "No file or no chromatogram given.");
    try {
        read(path, *chromatogram);
        return 0;
    } catch (const FormatError& error) {
        return FailedRead(chromatogram, errorText, std::string(formatPrefix) + error.what(),
                          error.Code() != 0 ? error.Code() : 1);
    } catch (const CFormatException& error) { // a refusal of the file itself (unreadable, too large)
        return FailedRead(chromatogram, errorText, error.what(), error.Code() != 0 ? error.Code() : 1);
    } catch (const std::bad_alloc&) {
        return FailedRead(chromatogram, errorText, "Not enough memory to read the file.", ENOMEM);
    } catch (const std::exception& error) {
        return FailedRead(chromatogram, errorText, error.what());
    } catch (...) {
        return FailedRead(chromatogram, errorText, "Unknown error.");
    }
}

} // namespace peaklist

} // namespace corvelin
