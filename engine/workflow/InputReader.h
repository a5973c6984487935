#pragma once
// The one reader of a chromatogram that a page or a view compares or shows: the plug-in read, the recalibration
// rule (InputRICalibration.h), the rule for RI values that cannot be had with the caller's policy, and the one
// message of a failed read. Whatever boxes the plug-ins and the plug-in layer would show while reading are folded
// into that one message: the caller's text, then the reader's own reason on a line of its own.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryChromatogram;
class CSearchOptions;

// Who reads, which fixes the message of a failed read, the minimum area and the RI rules.
enum class InputUse {
    SearchUnknown,     // the unknown of a library search
    MatchMatrix,       // either chromatogram of the match matrix
    PeakMatchTable,    // either chromatogram of the peak match table
    ChromatogramMatch, // either chromatogram of the Chromatogram Match page
    SearchBrowse,      // a file picked as the search's unknown
    SummaryFile,       // a file added to, or read by, the multi-file summary
    MassSpecBrowse,    // a file picked for the mass spec report
    OverlayFile,       // a file added to the overlay plot
    ConversionBrowse,  // a file picked for conversion
    Conversion,        // a file displayed or converted into a library entry
};

// How one read differs from its use's rule.
struct CORVELIN_ENGINE_EXPORT CInputReadSettings {
    double MinAreaPercent = -1; // below 0: the use's rule (the compares' area threshold when it is on, else 0)
    bool ShowFailure = true;    // false: the caller reports a failed read itself (Reason says why)
};

struct CORVELIN_ENGINE_EXPORT CInputRead {
    bool Read = false;          // target holds the file's chromatogram
    bool RIRefused = false;     // not read: RI matching needs an RI table the options do not have
    bool RIUnknown = false;     // read, but with RI matching on its RI values are unknown (see RIWarning)
    std::string DataSystemName; // the plug-in's data-system name
    std::string Reason;         // why the read failed, in the reader's own words (one line; may be empty)
    int Code = 0;               // the reader's errno-style code of a failed read (EFBIG: beyond one of its bounds)
};

// Reads path into target for use and shows the one message of a failure (the use's text; the reason on a line
// of its own). After a read:
// - a chromatogram from a foreign data system without RI calibration points is recalibrated with the options'
//   RI table (the compare views only while RI matching is on);
// - a foreign one that needs the table while RI matching is on and the table has fewer than 2 points is refused
//   by the match matrix and the peak match table ("Insufficient RI calibration data for file ..."); the other
//   compares take it, and set RIUnknown when it has no RI values for RI matching (LacksRICalibration).
// Never throws for a bad file; out of memory (also inside a reader plug-in) passes on as std::bad_alloc.
CORVELIN_ENGINE_EXPORT CInputRead ReadInput(const std::string& path, const CSearchOptions& options, InputUse use,
                                            CLibraryChromatogram& target, const CInputReadSettings& settings = {});

// The first line of the message of a failed read for use ("Error reading file <path>", ...).
CORVELIN_ENGINE_EXPORT std::string ReadFailureText(InputUse use, const std::string& path);

// Whether RI matching with options has no RI values to work with in chromatogram (as read and recalibrated):
// RI matching is on, its RI calibration has fewer than 2 points and no peak has an RI value.
CORVELIN_ENGINE_EXPORT bool LacksRICalibration(const CLibraryChromatogram& chromatogram, const CSearchOptions& options);

// The warnings of a compare whose RI match values mean nothing (the numbers are kept, the user is told): for a
// file named, and for how many of a library's entries.
CORVELIN_ENGINE_EXPORT std::string RIWarningForFile(const std::string& path);
CORVELIN_ENGINE_EXPORT std::string RIWarningForEntries(int lacking, int entryCount);

} // namespace corvelin
