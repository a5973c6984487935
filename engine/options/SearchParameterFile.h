#pragma once
// Search parameter files (".spf"): a complete set of search options, with the spectral include/exclude list
// and the RI calibration table and their spectra, as an INI text read and written with private-profile rules.
//
// Layout, in writing order (numbers "%i" unless noted):
//   [Standard Options]  MS Matching, RT Matching, RI Matching, Area Matching, Height Matching,
//                       AbsoluteAreaHeight, Recursion
//   [Advanced Options]  SearchRange (text), Window Width ("%.2f"), Multiple Match, Weighting
//   [Thresholds]        DoMass, Mass ("%.2f"), DoArea, Area ("%.2f")
//   [MassSpecOptions]   nMassSpecs, FitThreshold, SpectalOptionType
//   [MassSpec001] ...   Name, Active ("1"/"0"), nMassPeaks, Peak001 ... ("(%.2f, %.3f) ": mass, intensity)
//   [RI Calibration]    CalcOption, nDataPoints
//   [RICalPoint001] ... Name, Ri ("%.1f"), Rt ("%.2f"), nMassPeaks, Peak001 ...
//   [Summary Options]   Summary Relative Display, Summary Display Option, Summary ISTD Name, Summary ISTD Match,
//                       Summary ISTD RT ("%.3f"), Summary Min Peak Match
// The RI window width is not part of the file. Lines end in CR LF (see platform/IniDocument.h).
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

// Fills the record from the file. Never fails: missing values (or a missing, unreadable or over-large file)
// take the read defaults: MS, RT and RI matching on, "Window Width" 0.5 (negative reads 0), "Mass"/"Area" 0.5
// (below 0.0001 reads 0.0001), fit threshold 800, ISTD match 950, minimum match 900, everything else 0/empty.
// The spectral list and the calibration points are replaced (the calculation option is read too); list entries
// get weighted intensities (ApplyWeighting), calibration spectra do not. A list entry without spectrum lines is
// skipped. Counts only bound the reading: sections beyond them are ignored, and only sections present in the
// file make entries or calibration points, so a hostile count cannot drive the work. The absolute Area/Height
// flag is restored when "AbsoluteAreaHeight" is present and left unchanged otherwise (files of older writers).
// Returns false when the file could not be read (missing, not a regular file, too large) or holds none of the
// file's sections (binary junk, UTF-16 text, an empty file): the defaults were then used.
CORVELIN_ENGINE_EXPORT bool ReadParameterFile(CSearchOptions& options, const std::string& path);

// The same from a document already in memory.
class CIniDocument;
CORVELIN_ENGINE_EXPORT void ReadParameterDocument(CSearchOptions& options, const CIniDocument& document);

// Writes every value into the file: an existing file keeps its other sections and keys (e.g. MassSpec004 and up
// from a longer list, which the counts then leave unread); the file is replaced atomically. Returns false when
// it could not be written (or an existing file could not be read).
CORVELIN_ENGINE_EXPORT bool WriteParameterFile(const CSearchOptions& options, const std::string& path);

// The folder part of a chosen path, as remembered for the next file dialog: the text before whichever of the
// last '\' or '/' comes later, or "" when there is neither.
CORVELIN_ENGINE_EXPORT std::string ParameterFileFolder(const std::string& path);
// The per-user "MRUParamPath" (section "Corvelinscope", subsection "Settings"): the file dialogs' initial folder.
CORVELIN_ENGINE_EXPORT std::string LastParameterFileFolder();
// Stores the folder of the chosen path into "MRUParamPath" (done after OK, before the file is read or written).
CORVELIN_ENGINE_EXPORT void RememberParameterFileFolder(const std::string& chosenPath);

} // namespace corvelin
