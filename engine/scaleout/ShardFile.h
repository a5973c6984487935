#pragma once
// The result file of one library shard ("/Shard=k/n /Out=<file>"): everything the merge needs to finish the
// search as one machine would, without the library. A UTF-8 text file with "\n" line ends:
//
//   Corvelinscope shard result 1              format name and version
//   Program = Corvelinscope <version>
//   Shard = <k>/<n>
//   Unknown SHA-256 = <64 hex digits>         of the unknown file's bytes
//   Unknown = <path as given>                 the report's head: unknown, sample name, peak count text,
//   Sample Name = <text>                        library folder
//   Number of Peaks = <text>
//   Chromatogram Library = <folder>
//   Search End = completed | too many peaks   how reading the unknown went
//   Failure Text = <text>                     the too-many-peaks text ("" otherwise)
//   MaxPeaks = <n>
//   Subfolders = 0 | 1
//   Options SHA-256 = <hex>                   see SearchFingerprint.h
//   Parameter = <line>                        the report's parameter block, one line each
//   Library Entries = <N>                     entries of the whole library scan
//   Library List SHA-256 = <hex>              see EntryListDigest
//   Rows = <m>
//   <index>,"<cell>","<cell>",...,            m rows: the entry's index in the one-machine scan order, then its
//                                             row cells (warning rows too) as the CSV report quotes them
//   End of shard result
//
// Values and cells are written with backslash escapes for "\", a double quote, CR, LF, TAB and the other control
// characters (\\, \", \r, \n, \t, \xHH), so the merge gets every cell back exactly; unlike the CSV report's
// cells nothing is replaced ("/" stays "/"), because the merge sorts and writes them again.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/Exceptions.h"
#include "engine/scaleout/LibraryShard.h"

namespace corvelin {

inline constexpr const char* kShardFormatLine = "Corvelinscope shard result 1";

struct CORVELIN_ENGINE_EXPORT CShardHeader {
    std::string Program; // "Corvelinscope <version>"
    CShardSpec Shard;
    std::string UnknownSha256;
    std::string UnknownPath;
    std::string SampleName;
    std::string PeakCountText;
    std::string LibraryFolder;
    bool TooManyPeaks = false; // the unknown has more peaks than MaxPeaks: no rows, FailureText set
    std::string FailureText;
    int MaxPeaks = 0;
    int Subfolders = 0;
    std::string OptionsSha256;
    std::vector<std::string> ParameterLines;
    long long EntryCount = 0;
    std::string EntryListSha256;

    // Whether the two headers describe the same search (everything but the shard index).
    bool SameSearchAs(const CShardHeader& other) const;
};

struct CORVELIN_ENGINE_EXPORT CShardRow {
    long long Index = 0; // in the one-machine scan order
    std::vector<std::string> Cells;
};

struct CORVELIN_ENGINE_EXPORT CShardResult {
    CShardHeader Header;
    std::vector<CShardRow> Rows; // in scan order
};

// The program text of this build ("Corvelinscope 0.1.0").
CORVELIN_ENGINE_EXPORT std::string ShardProgramText();

// The file's text.
CORVELIN_ENGINE_EXPORT std::string ShardFileText(const CShardResult& result);

// Parses a shard file's text (treated as hostile: every count bounded by what the text holds).
// @exception CUserException with the reason ("not a shard result file", "line 12: ...") when it is no
// well-formed shard result of this format.
CORVELIN_ENGINE_EXPORT CShardResult ParseShardFile(std::string_view text);

// Writes the file whole: a temporary file beside it, then a rename, so a reader never sees half a file.
// @exception CFileException when it cannot be written; the target is then unchanged.
CORVELIN_ENGINE_EXPORT void WriteShardFile(const std::string& path, const CShardResult& result);

// Reads and parses a shard file of at most 4 GiB.
// @exception CUserException naming the file with the reason when it cannot be read or parsed.
CORVELIN_ENGINE_EXPORT CShardResult ReadShardFile(const std::string& path);

} // namespace corvelin
