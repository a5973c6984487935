#pragma once
// File-level reading for the AMDIS module: the checks behind IsFileReadable / IsMassSpecsFileReadable and the
// reads behind ReadFromDataSystem / ReadMassSpecs. The module's exports only translate these into codes.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "readers/amdis-elu/EluPeakList.h"
#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/core/LibraryMassSpectrum.h"
#include "readers/peak-list/PeakListPluginSupport.h"

namespace corvelin {

namespace amdis {

// Files larger than this are refused (the largest real ELU files are a few MiB).
inline constexpr std::size_t kMaxFileBytes = 256u << 20;
// How much of a file the format checks look at.
inline constexpr std::size_t kHeadBytes = 64u << 10;

// A refused or unreadable file: an errno-style code and a sentence for the user.
using FileError = peaklist::FileError;
using peaklist::ReadFileHead;
// The whole file; FileError (EFBIG) when it is larger than kMaxFileBytes.
std::string ReadWholeFile(const std::string& path);

// 0 when path is an ELU file this module reads; otherwise an errno-style code: the open error, or EINVAL when
// the file is not an ELU file. Never throws.
int CheckEluFile(const std::string& path) noexcept;
// Reads an ELU file into an empty chromatogram. Throws FileError (unreadable, not an ELU file) or FormatError.
void ReadEluFile(const std::string& path, const EluReadOptions& options, CLibraryChromatogram& chromatogram);

// True when path is an MSL library or an ELU file (whose components then serve as spectra). Never throws.
bool IsSpectraFile(const std::string& path) noexcept;
// Appends the spectra of an MSL library or of an ELU file's components (named "RT %.4f min, component %d") to
// spectra, one name per spectrum to names. Returns one reason per MSL entry that was left out as malformed.
// Throws FileError or FormatError (a malformed ELU file); nothing is appended then.
std::vector<std::string> ReadSpectraFile(const std::string& path, bool keepFlaggedLines,
                                         std::vector<std::unique_ptr<CLibraryMassSpectrumData>>& spectra,
                                         std::vector<std::string>& names);

} // namespace amdis

} // namespace corvelin
