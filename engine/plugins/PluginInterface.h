#pragma once
// The data-system plug-in interface: the functions a reader module (a .so loaded with dlopen) exports, by
// their exact names, with C linkage. Records are the engine's own classes; a module links against the engine
// library so that both sides share one copy of every class. Objects a module allocates are never freed by the
// program: it copies them and hands them back (ResetChromatogram, FreeMassSpecs).
#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/core/LibraryMassSpectrum.h"

namespace corvelin {

// Size of the name and settings-section buffers passed to a module.
inline constexpr int kPluginBufferSize = 260;

#if defined(__GNUC__)
#define CORVELIN_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define CORVELIN_PLUGIN_EXPORT extern "C"
#endif

using PluginMassSpecArray = std::vector<CLibraryMassSpectrumData*>;
using PluginStringArray = std::vector<std::string>;

extern "C" {
// Called once right after loading with the plug-in's settings section ("Plugins\<key>") in a writable
// buffer of kPluginBufferSize characters.
typedef void (*PFN_SetRegistryPath)(char* section);
// 0 = the module reads this file; otherwise an errno-style code. showMessages: the module may show its own.
typedef int (*PFN_IsFileReadable)(const char* path, int showMessages);
// Fills chromatogram (empty on entry). minAreaPercent: minimum peak area in percent of the total, 0 = all.
// 0 = success; non-zero = failure with a description in *errorText.
typedef int (*PFN_ReadFromDataSystem)(const char* path, CLibraryChromatogram* chromatogram, double minAreaPercent,
                                      std::string* errorText);
// Lets the module release what it put into the record ReadFromDataSystem filled.
typedef void (*PFN_ResetChromatogram)(CLibraryChromatogram* chromatogram);
// Writes the name of the module's data system into a buffer of kPluginBufferSize characters.
typedef void (*PFN_GetDataSystemName)(char* name);
// Fills the spectra-file dialog filter ("Description (*.x)|*.x|") and the file ending (".x").
typedef void (*PFN_GetMassSpecsReadFilter)(std::string* filter, std::string* ending);
// Non-zero = the module reads this spectra file.
typedef int (*PFN_IsMassSpecsFileReadable)(const char* path);
// Appends spectra (allocated by the module) and one name per spectrum. Result ignored.
typedef int (*PFN_ReadMassSpecs)(const char* path, PluginMassSpecArray* spectra, PluginStringArray* names);
// Deletes what ReadMassSpecs allocated and empties both arrays.
typedef void (*PFN_FreeMassSpecs)(PluginMassSpecArray* spectra, PluginStringArray* names);
// Opens one data file (or overlays two) in the vendor software; 0 = success, otherwise an errno-style code.
typedef int (*PFN_DatasystemOpen)(const char* path);
typedef int (*PFN_DatasystemOverlay)(const char* path1, const char* path2);

// Optional, for raw-data modules: the scan run of a data file as plain C data, so the program can plot the run's
// total-ion chromatogram, extracted-ion chromatograms of any mass and detect peaks on it without converting.
// Scan s was acquired at Times[s] (minutes, ascending); TotalIonCurrent[s] is its summed intensity; its lines
// are Masses[k], Intensities[k] for ScanOffsets[s] <= k < ScanOffsets[s + 1] (ScanOffsets has ScanCount + 1
// entries, from 0 to LineCount, never decreasing). Everything belongs to the module until FreeScanRun.
struct CORVELIN_ENGINE_EXPORT CorvelinScanRunData {
    size_t ScanCount;
    size_t LineCount;
    const double* Times;
    const double* TotalIonCurrent;
    const size_t* ScanOffsets;
    const double* Masses;
    const double* Intensities;
    void* ModuleData; // the module's own (what FreeScanRun releases); the program never touches it
};
// 0 = *run points to the file's scan run; otherwise an errno-style code, *run is null and the reason is in
// errorText (a buffer of kPluginBufferSize characters, may be null).
typedef int (*PFN_ReadScanRun)(const char* path, struct CorvelinScanRunData** run, char* errorText);
// Frees a run ReadScanRun handed over (null is allowed).
typedef void (*PFN_FreeScanRun)(struct CorvelinScanRunData* run);
}

} // namespace corvelin
