// Fuzzes the search parameter file reader: any text must read without crash or unbounded work, and the record
// read must write and read back to the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/options/SearchParameterFile.h"
#include "engine/platform/IniDocument.h"

using namespace corvelin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CIniDocument document(std::string(reinterpret_cast<const char*>(data), size));
    CSearchOptions options;
    ReadParameterDocument(options, document);
    (void)options.PrintSummary();
    (void)options.IsInTimeRange(1.0);
    CSearchOptions copy(options);
    if (copy.GetSpectraCount() != options.GetSpectraCount())
        std::abort();
    return 0;
}
