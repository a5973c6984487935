#pragma once
// One pass over an mzML or mzXML file's bytes before the data library parses it, for what the library itself
// gets wrong on hostile files: it inflates compressed arrays without a bound, it reads past its buffer on
// numeric character references, it reads wrapped or zero peak counts as empty scans and it reads duration
// forms such as "PT1M5.5S" wrongly. The pass holds one read buffer and one inflate window, whatever the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace corvelin {

struct CMzmlPreScan {
    // Offset of the root element's "<" (after the XML declaration, comments and a document type).
    std::size_t RootOffset = 0;
    std::string RootName; // without a namespace prefix: "mzML", "indexedmzML", "mzXML", ...
    // mzXML: each scan's retentionTime in seconds by its scan number (NaN when the text is not a duration).
    std::unordered_map<std::int64_t, double> MzxmlSeconds;
};

// Reads the file once. Refused (CRunReadError): a numeric character reference or a NUL byte anywhere (EILSEQ), an
// attribute value of a start tag without quotes (EBADMSG), an array that inflates beyond maxArrayBytes or arrays
// that together inflate to far more than their compressed size (EFBIG), an mzXML scan whose peaksCount is beyond
// maxLines (EFBIG) or zero while its peaks hold data (EBADMSG), and a file without a root element in its first
// megabyte (EMEDIUMTYPE).
CMzmlPreScan PreScanMzml(const std::string& path, std::size_t maxLines, std::size_t maxArrayBytes);

// Seconds of an xs:duration as mzXML writes retention times ("PT65.5S", "PT1M5.5S", "P1DT2H"), or of a plain
// number of seconds; NaN for anything else.
double MzxmlDurationSeconds(const std::string& text);

} // namespace corvelin
