#include "engine/workflow/Conversion.h"
#include "engine/workflow/InputRICalibration.h"
#include "engine/workflow/InputReader.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <exception>
#include <filesystem>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/core/PeakShare.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"

namespace fs = std::filesystem;

namespace corvelin {

namespace {

constexpr const char* kEntryExtension = ".ChromLibEntry";

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return s;
}

bool EndsWithNoCaseText(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && Lower(text.substr(text.size() - ending.size())) == Lower(ending);
}

// Position of the first ".d/" or ".d\" in the lower-cased text at or after from: the earlier of the two.
std::size_t FirstRunFolderMark(const std::string& lower, std::size_t from)
{
    return std::min(lower.find(".d\\", from), lower.find(".d/", from));
}

// Text before the later of the last "/" and the last "\"; empty when there is neither.
std::string FolderPart(const std::string& path)
{
    const std::size_t a = path.rfind('/');
    const std::size_t b = path.rfind('\\');
    std::size_t cut = std::string::npos;
    if (a != std::string::npos)
        cut = a;
    if (b != std::string::npos && (cut == std::string::npos || b > cut))
        cut = b;
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// Entries of a folder by name (the enumeration order of this platform): regular files or folders.
std::vector<std::string> FolderEntries(const std::string& folder, bool wantFolders)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(folder.empty() ? "." : folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        if (wantFolders ? it->is_directory(typeError) : it->is_regular_file(typeError))
            out.push_back(it->path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The file of folder whose name equals name without regard to case ("data.ms" may be "DATA.MS"); empty if none.
std::string FindNoCase(const std::string& folder, const std::string& name)
{
    for (const std::string& entry : FolderEntries(folder, false))
        if (Lower(entry) == Lower(name))
            return folder + "/" + entry;
    return {};
}

} // namespace

std::string LibraryEntryName(const std::string& dataFile)
{
    if (EndsWithNoCaseText(dataFile, ".d\\data.ms") || EndsWithNoCaseText(dataFile, ".d/data.ms"))
        return dataFile.substr(0, dataFile.size() - 8) + kEntryExtension;
    const std::string lower = Lower(dataFile);
    if (EndsWithNoCaseText(dataFile, ".hpt") && FirstRunFolderMark(lower, 1) != std::string::npos)
        return dataFile.substr(0, FirstRunFolderMark(lower, 0)) + kEntryExtension;
    return dataFile + kEntryExtension;
}

bool IsInsideRunFolder(const std::string& path)
{
    if (EndsWithNoCaseText(path, ".d\\data.ms") || EndsWithNoCaseText(path, ".d/data.ms"))
        return true;
    return (EndsWithNoCaseText(path, ".hpt") || EndsWithNoCaseText(path, ".elu")) &&
           FirstRunFolderMark(Lower(path), 1) != std::string::npos;
}

namespace {

// Gives the chromatogram the RI calibration of its entry (see ConvertChromatogram); returns the line that says
// what happened to the file's own calibration, empty when it had none.
std::string ApplyConversionRICalibration(const CLibraryRICalibrationData& table, CLibraryChromatogram& chromatogram)
{
    const std::size_t own = chromatogram.RICalibration.GetCount();
    if (own >= 2 && table.GetCount() == 0)
        return FormatC("Keeping the RI calibration of the data file (%d points).", static_cast<int>(own));
    chromatogram.Recalibrate(table);
    return own >= 2 ? "The RI calibration of the data file was replaced by the current RI cal table." : "";
}

} // namespace

bool DisplayChromatogram(const std::string& path, double minAreaPercent, const CSearchOptions& options, CInfoTree& tree,
                         CLibraryChromatogram* shown)
{
    if (shown)
        shown->Clear();
    tree.clear();
    const auto start = std::chrono::steady_clock::now();
    CLibraryChromatogram chromatogram;
    const CInputRead read = ReadInput(path, options, InputUse::Conversion, chromatogram, {minAreaPercent, true});
    const std::string& dataSystem = read.DataSystemName;
    if (!read.Read) {
        tree.push_back({ReadFailureText(InputUse::Conversion, path), 0, false});
        return false;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    tree.push_back({FormatC("Reading file %s took %.2f seconds", chromatogram.DataFile.c_str(), seconds), 0, true});
    if (NeedsInputRICalibration(dataSystem, chromatogram)) {
        tree.push_back({"No RI data in chromatogram. Recalibrating with current RI cal table.", 1, false});
        chromatogram.Recalibrate(options.RICalibration());
    }
    tree.push_back(
        {FormatC("Number of Peaks: %2i, total abs. Area: %.0f", chromatogram.PeakCount, chromatogram.TotalArea), 1,
         true});
    for (int i = 0; i < chromatogram.PeakCount; ++i) {
        const CLibraryChromatogramPeakData* peak = chromatogram.GetPeak(i);
        if (!peak)
            break;
        tree.push_back({FormatC(" Peak %2i: RT %.2f, RI %.1f, Area%% %.2f, Width %.2f, Area(abs) %.0f", i, peak->RT,
                                peak->RI, PeakSharePercent(peak->Area, chromatogram.TotalArea),
                                (peak->EndRT - peak->StartRT) * 60.0, peak->Area),
                        2, false});
        tree.push_back(
            {FormatC("  Number of mass spec points: %2i", static_cast<int>(peak->Spectrum.GetCount())), 3, false});
        for (const CLibraryMassSpectrumPoint& point : peak->Spectrum.Points())
            tree.push_back({FormatC("   Mass = %i, intensity = %.2f, weighted=%.2f", static_cast<int>(point.Mass),
                                    point.Intensity, point.WeightedIntensity),
                            4, false});
    }
    if (shown)
        shown->CopyFrom(chromatogram);
    return true;
}

bool ConvertChromatogram(const std::string& path, double minAreaPercent, const CSearchOptions& options,
                         bool showMessages, CInfoTree& tree)
{
    CLibraryChromatogram chromatogram;
    const CInputRead read =
        ReadInput(path, options, InputUse::Conversion, chromatogram, {minAreaPercent, showMessages});
    if (!read.Read) {
        // One message (when messages are on) and the log line the manual names, with the reader's reason under it.
        tree.push_back({ReadFailureText(InputUse::Conversion, path), 0, !read.Reason.empty()});
        if (!read.Reason.empty())
            tree.push_back({read.Reason, 1, false});
        return false;
    }
    std::string calibration;
    try {
        calibration = ApplyConversionRICalibration(options.RICalibration(), chromatogram);
        chromatogram.SaveEntry(LibraryEntryName(path));
    } catch (const std::exception& e) {
        tree.push_back({FormatC("ReadFromPlugin error #2 on file %s\n", path.c_str()), 0, false});
        // The tree line does not say why; a full disk or a read-only folder must be named.
        const auto* file = dynamic_cast<const CFileException*>(&e);
        const std::string reason = file && file->GetOsError() != 0 ? std::strerror(file->GetOsError()) : e.what();
        ShowMessage(
            FormatC("The library entry '%s' could not be written: %s", LibraryEntryName(path).c_str(), reason.c_str()),
            "Corvelinscope", MessageIcon::Stop);
        return false;
    }
    tree.push_back({FormatC("The chromatogramm '%s' was converted successfully", path.c_str()), 0, false});
    if (!calibration.empty())
        tree.push_back({calibration, 1, false});
    return true;
}

bool DisplayAndConvert(const std::string& path, double minAreaPercent, bool convertAll, const CSearchOptions& options,
                       CInfoTree& tree)
{
    tree.clear();
    if (!convertAll)
        return ConvertChromatogram(path, minAreaPercent, options, true, tree);
    if (IsInsideRunFolder(path)) {
        const std::string lower = Lower(path);
        // D: the run folder path (before the later of the first ".d\" and the first ".d/"); F: the folder
        // that holds the run folders.
        const std::size_t back = lower.find(".d\\");
        const std::size_t forward = lower.find(".d/");
        std::size_t cut = back;
        if (forward != std::string::npos && (cut == std::string::npos || forward > cut))
            cut = forward;
        bool ok = true;
        const std::string runFolder = path.substr(0, cut);
        const std::string folder = FolderPart(runFolder);
        const std::string base = folder.empty() ? std::string() : folder + "/";
        std::vector<std::string> runs;
        for (const std::string& name : FolderEntries(folder, true))
            if (EndsWithNoCaseText(name, ".d"))
                runs.push_back(name);
        for (const std::string& run : runs) {
            const std::string file = FindNoCase(base + run, "data.ms");
            if (!file.empty() && !ConvertChromatogram(file, minAreaPercent, options, false, tree)) {
                ok = false;
                break;
            }
        }
        for (const std::string& run : runs) {
            const std::string file = FindNoCase(base + run, run.substr(0, run.size() - 2) + ".hpt");
            if (!file.empty() && !ConvertChromatogram(file, minAreaPercent, options, false, tree)) {
                ok = false;
                break;
            }
        }
        return ok;
    }
    const std::string folder = FolderPart(path);
    const std::size_t dot = path.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : path.substr(dot);
    const std::string base = folder.empty() ? std::string() : folder + "/";
    for (const std::string& name : FolderEntries(folder, false)) {
        if (!EndsWithNoCaseText(name, extension))
            continue;
        if (!ConvertChromatogram(base + name, minAreaPercent, options, true, tree))
            return false;
    }
    return true;
}

} // namespace corvelin
