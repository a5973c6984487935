#include "engine/options/SearchParameterFile.h"

#include <algorithm>
#include <map>
#include <vector>

#include "engine/options/SettingsStore.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/DecimalText.h"
#include "engine/platform/IniDocument.h"
#include "engine/platform/PrivateProfile.h"

namespace corvelin {

namespace {

// Text values are read with buffers of 260 characters.
constexpr std::size_t textBuffer = 260;

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(prefix[i]))
            return false;
    }
    return true;
}

// The number n when name is prefix + "%03i" of n with 1 <= n <= limit.
std::optional<long> NumberedName(std::string_view name, std::string_view prefix, long limit)
{
    if (limit < 1 || !StartsWithNoCase(name, prefix))
        return std::nullopt;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.size() < 3 || digits.size() > 10 || (digits.size() > 3 && digits.front() == '0'))
        return std::nullopt;
    long n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n < 1 || n > limit)
        return std::nullopt;
    return n;
}

// The numbers of the sections prefix + "%03i" present in the document, 1 ... limit, ascending.
std::vector<long> PresentSections(const CIniDocument& document, std::string_view prefix, long limit)
{
    std::vector<long> numbers;
    for (const std::string_view name : document.SectionNames())
        if (const auto n = NumberedName(name, prefix, limit))
            numbers.push_back(*n);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

// "(mass, intensity) ": the first character is dropped, the mass ends at the first comma.
CLibraryMassSpectrumPoint ParseSpectrumLine(const std::string& text)
{
    const std::string_view rest = std::string_view(text).substr(1);
    const auto comma = rest.find(',');
    const double mass = TextToDouble(rest);
    const double intensity = comma == std::string_view::npos ? 0.0 : TextToDouble(rest.substr(comma + 1));
    return CLibraryMassSpectrumPoint(mass, intensity);
}

// The spectrum lines "Peak001" ... "Peak<count>" of a section, in number order; empty values are skipped.
// Only keys present are visited, so the count costs nothing beyond the file's own lines.
CLibraryMassSpectrumData ReadSpectrum(const CIniDocument& document, const std::string& section, long count)
{
    std::map<long, std::string> lines; // the first key of each number wins
    document.ForEachKey(section, [&](std::string_view key, std::string_view value) {
        if (const auto n = NumberedName(key, "Peak", count))
            lines.try_emplace(*n, ProfileValue(value, textBuffer));
    });
    CLibraryMassSpectrumData spectrum;
    for (const auto& [n, text] : lines)
        if (!text.empty())
            spectrum.Append(ParseSpectrumLine(text));
    return spectrum;
}

void WriteSpectrum(CIniDocument& document, const std::string& section, const CLibraryMassSpectrumData& spectrum)
{
    for (std::size_t j = 0; j < spectrum.GetCount(); ++j) {
        const CLibraryMassSpectrumPoint& point = *spectrum.GetPoint(j);
        document.Set(section, FormatC("Peak%03li", static_cast<long>(j + 1)),
                     FormatC("(%.2f, %.3f) ", point.Mass, point.Intensity));
    }
}

} // namespace

bool ReadParameterFile(CSearchOptions& options, const std::string& path)
{
    CIniDocument document;
    bool read = document.Load(path) == WholeFileRead::Read;
    if (read) {
        static constexpr const char* kSections[] = {"Standard Options", "Advanced Options", "Thresholds",
                                                    "MassSpecOptions",  "RI Calibration",   "Summary Options"};
        read = false;
        for (const char* section : kSections)
            read = read || document.HasSection(section);
    }
    ReadParameterDocument(options, document);
    return read;
}

void ReadParameterDocument(CSearchOptions& options, const CIniDocument& document)
{
    const auto text = [&](const char* section, const char* key, const char* fallback) {
        return ProfileString(document, section, key, fallback, textBuffer);
    };
    const auto number = [&](const char* section, const char* key, int fallback) {
        return ProfileInt(document, section, key, fallback);
    };

    options.ClearSpectra();

    options.MSMatching = number("Standard Options", "MS Matching", 1);
    options.RTMatching = number("Standard Options", "RT Matching", 1);
    options.RIMatching = number("Standard Options", "RI Matching", 1);
    options.AreaMatching = number("Standard Options", "Area Matching", 0);
    options.HeightMatching = number("Standard Options", "Height Matching", 0);
    options.AbsoluteAreaHeight = number("Standard Options", "AbsoluteAreaHeight", options.AbsoluteAreaHeight);
    options.SearchSubfolders = number("Standard Options", "Recursion", 0);
    options.MultipleMatching = number("Advanced Options", "Multiple Match", 0);
    options.Weighting = number("Advanced Options", "Weighting", 0);
    options.MassThresholdOn = number("Thresholds", "DoMass", 0);
    options.AreaThresholdOn = number("Thresholds", "DoArea", 0);
    options.TimeRange = text("Advanced Options", "SearchRange", "*");
    options.RTWindowWidth = std::max(0.0, TextToDouble(text("Advanced Options", "Window Width", "0.5")));
    options.MassThreshold = std::max(0.0001, TextToDouble(text("Thresholds", "Mass", "0.5")));
    options.AreaThreshold = std::max(0.0001, TextToDouble(text("Thresholds", "Area", "0.5")));

    const int spectraCount = number("MassSpecOptions", "nMassSpecs", 0);
    options.FitThreshold = number("MassSpecOptions", "FitThreshold", 800);
    options.SpectralListMode = number("MassSpecOptions", "SpectalOptionType", 0);
    for (const long i : PresentSections(document, "MassSpec", spectraCount)) {
        const std::string section = FormatC("MassSpec%03li", i);
        const int lineCount = number(section.c_str(), "nMassPeaks", 0);
        if (lineCount < 1)
            continue;
        const std::string name = text(section.c_str(), "Name", "");
        const bool active = number(section.c_str(), "Active", 0) != 0;
        CLibraryMassSpectrumData spectrum = ReadSpectrum(document, section, lineCount);
        spectrum.ApplyWeighting();
        options.AddSpectrum(name, spectrum, active);
    }

    CLibraryRICalibrationData& table = options.RICalibration();
    table.SetCalculationOption(number("RI Calibration", "CalcOption", 0));
    const int pointCount = number("RI Calibration", "nDataPoints", 0);
    for (const long i : PresentSections(document, "RICalPoint", pointCount)) {
        const std::string section = FormatC("RICalPoint%03li", i);
        auto point = std::make_unique<CLibraryRICalibrationPoint>();
        const std::string name = text(section.c_str(), "Name", section.c_str());
        const double ri = TextToDouble(text(section.c_str(), "Ri", "0.0"));
        const double rt = TextToDouble(text(section.c_str(), "Rt", "0.0"));
        const int lineCount = number(section.c_str(), "nMassPeaks", 0);
        point->Set(name, rt, ri, ReadSpectrum(document, section, lineCount));
        table.AddPoint(std::move(point));
    }

    options.SummaryRelative = number("Summary Options", "Summary Relative Display", 0);
    options.SummaryDisplayOption = number("Summary Options", "Summary Display Option", 0);
    options.SummaryISTDName = text("Summary Options", "Summary ISTD Name", "");
    options.SummaryISTDMatch = number("Summary Options", "Summary ISTD Match", 950);
    options.SummaryISTDRT = TextToDouble(text("Summary Options", "Summary ISTD RT", "0.0"));
    options.SummaryMinMatch = number("Summary Options", "Summary Min Peak Match", 900);
}

bool WriteParameterFile(const CSearchOptions& options, const std::string& path)
{
    CIniDocument document;
    const auto loaded = document.Load(path);
    if (loaded != WholeFileRead::Read && loaded != WholeFileRead::Missing)
        return false;
    const auto put = [&](const std::string& section, const char* key, const std::string& value) {
        document.Set(section, key, value);
    };
    const auto number = [&](const std::string& section, const char* key, long value) {
        document.Set(section, key, std::to_string(value));
    };

    number("Standard Options", "MS Matching", options.MSMatching);
    number("Standard Options", "RT Matching", options.RTMatching);
    number("Standard Options", "RI Matching", options.RIMatching);
    number("Standard Options", "Area Matching", options.AreaMatching);
    number("Standard Options", "Height Matching", options.HeightMatching);
    number("Standard Options", "AbsoluteAreaHeight", options.AbsoluteAreaHeight);
    number("Standard Options", "Recursion", options.SearchSubfolders);
    put("Advanced Options", "SearchRange", options.TimeRange);
    put("Advanced Options", "Window Width", FormatC("%.2f", options.RTWindowWidth));
    number("Advanced Options", "Multiple Match", options.MultipleMatching);
    number("Advanced Options", "Weighting", options.Weighting);
    number("Thresholds", "DoMass", options.MassThresholdOn);
    put("Thresholds", "Mass", FormatC("%.2f", options.MassThreshold));
    number("Thresholds", "DoArea", options.AreaThresholdOn);
    put("Thresholds", "Area", FormatC("%.2f", options.AreaThreshold));

    number("MassSpecOptions", "nMassSpecs", options.GetSpectraCount());
    number("MassSpecOptions", "FitThreshold", options.FitThreshold);
    number("MassSpecOptions", "SpectalOptionType", options.SpectralListMode);
    for (int i = 0; i < options.GetSpectraCount(); ++i) {
        std::string name;
        bool active = false;
        const CLibraryMassSpectrum* spectrum = options.GetSpectrum(i, &name, &active);
        const std::string section = FormatC("MassSpec%03i", i + 1);
        put(section, "Name", name);
        put(section, "Active", active ? "1" : "0");
        number(section, "nMassPeaks", static_cast<long>(spectrum->GetCount()));
        WriteSpectrum(document, section, spectrum->Data());
    }

    const CLibraryRICalibrationData& table = options.RICalibration();
    number("RI Calibration", "CalcOption", table.GetCalculationOption());
    number("RI Calibration", "nDataPoints", static_cast<long>(table.GetCount()));
    for (std::size_t i = 0; i < table.GetCount(); ++i) {
        const CLibraryRICalibrationPoint& point = table.GetPoint(i);
        const std::string section = FormatC("RICalPoint%03i", static_cast<int>(i + 1));
        put(section, "Name", point.GetName());
        put(section, "Ri", FormatC("%.1f", point.GetRI()));
        put(section, "Rt", FormatC("%.2f", point.GetRT()));
        number(section, "nMassPeaks", static_cast<long>(point.GetSpectrum().GetCount()));
        WriteSpectrum(document, section, point.GetSpectrum());
    }

    number("Summary Options", "Summary Relative Display", options.SummaryRelative);
    number("Summary Options", "Summary Display Option", options.SummaryDisplayOption);
    put("Summary Options", "Summary ISTD Name", options.SummaryISTDName);
    number("Summary Options", "Summary ISTD Match", options.SummaryISTDMatch);
    put("Summary Options", "Summary ISTD RT", FormatC("%.3f", options.SummaryISTDRT));
    number("Summary Options", "Summary Min Peak Match", options.SummaryMinMatch);
    return document.Save(path);
}

std::string ParameterFileFolder(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LastParameterFileFolder()
{
    return GetSettingString(SettingsScope::CurrentUser, "Corvelinscope", "Settings", "MRUParamPath", "");
}

void RememberParameterFileFolder(const std::string& chosenPath)
{
    WriteSettingString(SettingsScope::CurrentUser, "Corvelinscope", "Settings", "MRUParamPath",
                       ParameterFileFolder(chosenPath).c_str());
}

} // namespace corvelin
