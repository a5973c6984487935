#include "engine/options/SearchOptions.h"

#include <algorithm>

#include "engine/core/Archive.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/DecimalText.h"

namespace corvelin {

namespace {

constexpr const char* lastUsedSection = "Search Parameter";

const char* YesNo(int flag)
{
    return flag ? "Yes" : "No";
}

// An entry of a fixed text list; a value outside the list (possible only from a hostile file or settings) is
// shown as its number instead of indexing past the list.
template <std::size_t N> std::string ListText(const char* const (&texts)[N], int index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < N)
        return texts[index];
    return std::to_string(index);
}

} // namespace

CSearchOptions::CSearchOptions(const CSearchOptions& other)
{
    *this = other;
}

CSearchOptions& CSearchOptions::operator=(const CSearchOptions& other)
{
    if (this == &other)
        return *this;
    AreaMatching = other.AreaMatching;
    HeightMatching = other.HeightMatching;
    MSMatching = other.MSMatching;
    RTMatching = other.RTMatching;
    RIMatching = other.RIMatching;
    MultipleMatching = other.MultipleMatching;
    SearchSubfolders = other.SearchSubfolders;
    RTWindowWidth = other.RTWindowWidth;
    RIWindowWidth = other.RIWindowWidth;
    Weighting = other.Weighting;
    TimeRange = other.TimeRange;
    MassThresholdOn = other.MassThresholdOn;
    MassThreshold = other.MassThreshold;
    AreaThresholdOn = other.AreaThresholdOn;
    AreaThreshold = other.AreaThreshold;
    SpectralListMode = other.SpectralListMode;
    FitThreshold = other.FitThreshold;
    AbsoluteAreaHeight = other.AbsoluteAreaHeight;
    SummaryISTDName = other.SummaryISTDName;
    SummaryISTDMatch = other.SummaryISTDMatch;
    SummaryISTDRT = other.SummaryISTDRT;
    SummaryMinMatch = other.SummaryMinMatch;
    SummaryDisplayOption = other.SummaryDisplayOption;
    SummaryRelative = other.SummaryRelative;

    ClearSpectra();
    m_names = other.m_names;
    m_active = other.m_active;
    // The spectra travel through the archive, like every stored record, so the copy owns new objects.
    CArchive out;
    for (const auto& spectrum : other.m_spectra)
        const_cast<CLibraryMassSpectrum&>(*spectrum).Serialize(out);
    const std::vector<std::uint8_t> bytes = out.TakeBytes();
    CArchive in(bytes, {}, false);
    m_spectra.reserve(other.m_spectra.size());
    for (std::size_t i = 0; i < other.m_spectra.size(); ++i) {
        auto spectrum = std::make_unique<CLibraryMassSpectrum>();
        spectrum->Serialize(in);
        m_spectra.push_back(std::move(spectrum));
    }
    m_riCalibration.CopyFrom(other.m_riCalibration);
    return *this;
}

const CLibraryMassSpectrum* CSearchOptions::GetSpectrum(int i, std::string* name, bool* active) const
{
    if (i < 0 || i >= GetSpectraCount())
        return nullptr;
    const auto index = static_cast<std::size_t>(i);
    if (name)
        *name = m_names[index];
    if (active)
        *active = m_active[index] != 0;
    return m_spectra[index].get();
}

int CSearchOptions::AddSpectrum(const std::string& name, const CLibraryMassSpectrumData& spectrum, bool active)
{
    m_spectra.push_back(std::make_unique<CLibraryMassSpectrum>(spectrum));
    m_names.push_back(name);
    m_active.push_back(active ? 1 : 0);
    return GetSpectraCount() - 1;
}

void CSearchOptions::RemoveSpectrum(int i)
{
    if (i < 0 || i >= GetSpectraCount())
        return;
    const auto offset = static_cast<std::ptrdiff_t>(i);
    m_spectra.erase(m_spectra.begin() + offset);
    m_names.erase(m_names.begin() + offset);
    m_active.erase(m_active.begin() + offset);
}

void CSearchOptions::RenameSpectrum(int i, const std::string& name)
{
    if (i >= 0 && i < GetSpectraCount())
        m_names[static_cast<std::size_t>(i)] = name;
}

void CSearchOptions::SetSpectrumActive(int i, bool active)
{
    if (i >= 0 && i < GetSpectraCount())
        m_active[static_cast<std::size_t>(i)] = active ? 1 : 0;
}

void CSearchOptions::ClearSpectra()
{
    m_spectra.clear();
    m_names.clear();
    m_active.clear();
    m_riCalibration.Clear();
}

void CSearchOptions::LoadLastUsed(const char* subsection)
{
    const auto text = [&](const char* name, const char* fallback) {
        return GetSettingString(SettingsScope::CurrentUser, lastUsedSection, subsection, name, fallback);
    };
    const auto number = [&](const char* name, int fallback) {
        return GetSettingInt(SettingsScope::CurrentUser, lastUsedSection, subsection, name, fallback);
    };
    RTWindowWidth = TextToDouble(text("LastWindowWidth", "0.5"));
    RIWindowWidth = TextToDouble(text("LastRIWindowWidth", "25"));
    MSMatching = number("LastMSMatching", 1);
    RTMatching = number("LastRTMatching", 1);
    RIMatching = number("LastRIMatching", 0);
    AreaMatching = number("LastArMatching", 0);
    HeightMatching = number("LastHgMatching", 0);
    MultipleMatching = number("LastMultiMatch", 0);
    Weighting = number("LastWeighting", 0);
    TimeRange = text("LastTimeRange", "*");
    AbsoluteAreaHeight = number("LastAbsoluteAreaHeight", 0);
    MassThresholdOn = number("LastMassOption", 0);
    MassThreshold = TextToDouble(text("LastMassThreshold", "0.5"));
    AreaThresholdOn = number("LastAreaOption", 0);
    AreaThreshold = TextToDouble(text("LastAreaThreshold", "0.5"));
    SummaryRelative = number("Summary Relative Display", 0);
    SummaryDisplayOption = number("Summary Display Option", 0);
    SummaryISTDName = text("Summary ISTD Name", "");
    SummaryISTDMatch = number("Summary ISTD Match", 950);
    SummaryISTDRT = TextToDouble(text("Summary ISTD RT", "0.0"));
    SummaryMinMatch = number("Summary Min Peak Match", 900);
}

void CSearchOptions::SaveLastUsed() const
{
    const char* subsection = "Global";
    const auto text = [&](const char* name, const std::string& value) {
        WriteSettingString(SettingsScope::CurrentUser, lastUsedSection, subsection, name, value.c_str());
    };
    const auto number = [&](const char* name, int value) {
        WriteSettingInt(SettingsScope::CurrentUser, lastUsedSection, subsection, name, value);
    };
    text("LastWindowWidth", FormatC("%.2f", RTWindowWidth));
    text("LastRIWindowWidth", FormatC("%.1f", RIWindowWidth));
    number("LastMSMatching", MSMatching);
    number("LastRTMatching", RTMatching);
    number("LastRIMatching", RIMatching);
    number("LastArMatching", AreaMatching);
    number("LastHgMatching", HeightMatching);
    number("LastMultiMatch", MultipleMatching);
    number("LastWeighting", Weighting);
    text("LastTimeRange", TimeRange);
    number("LastAbsoluteAreaHeight", AbsoluteAreaHeight);
    number("LastMassOption", MassThresholdOn);
    text("LastMassThreshold", FormatC("%.2f", MassThreshold));
    number("LastAreaOption", AreaThresholdOn);
    text("LastAreaThreshold", FormatC("%.2f", AreaThreshold));
    number("Summary Relative Display", SummaryRelative);
    number("Summary Display Option", SummaryDisplayOption);
    text("Summary ISTD Name", SummaryISTDName);
    number("Summary ISTD Match", SummaryISTDMatch);
    text("Summary ISTD RT", FormatC("%.2f", SummaryISTDRT));
    number("Summary Min Peak Match", SummaryMinMatch);
}

bool CSearchOptions::IsInTimeRange(double rt) const
{
    if (TimeRange == "*")
        return true;
    std::string_view rest = TimeRange;
    std::string copy;
    if (rest.empty() || rest.back() != ';') {
        copy = TimeRange + ";";
        rest = copy;
    }
    while (!rest.empty()) {
        const auto semicolon = rest.find(';');
        const std::string_view interval = rest.substr(0, semicolon);
        const auto dash = interval.find('-');
        if (dash == std::string_view::npos)
            return false;
        const double lower = TextToDouble(interval.substr(0, dash));
        const double upper = TextToDouble(interval.substr(dash + 1));
        if (upper <= lower)
            return false;
        if (lower <= rt && rt <= upper)
            return true;
        rest.remove_prefix(semicolon + 1);
    }
    return false;
}

bool CSearchOptions::IsValidTimeRange(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string::npos)
        return false;
    const auto last = text.find_last_not_of(" \t\r\n\v\f");
    std::string range = text.substr(first, last - first + 1);
    if (range == "*")
        return true;
    if (range.back() != ';')
        range += ';';
    std::string_view rest = range;
    while (!rest.empty()) {
        const auto semicolon = rest.find(';');
        const std::string_view interval = rest.substr(0, semicolon);
        const auto dash = interval.find('-');
        if (dash == std::string_view::npos)
            return false;
        if (TextToDouble(interval.substr(0, dash)) >= TextToDouble(interval.substr(dash + 1)))
            return false;
        rest.remove_prefix(semicolon + 1);
    }
    return true;
}

bool CSearchOptions::IsPeakExcluded(const CLibraryMassSpectrumData* spectrum) const
{
    if (SpectralListMode == 0 || FitThreshold == 0)
        return false;
    const double threshold = MassThresholdOn ? MassThreshold : 0.0;
    double best = 0.0;
    if (spectrum) {
        for (std::size_t i = 0; i < m_spectra.size(); ++i) {
            if (!m_spectra[i] || !m_active[i])
                continue;
            best = std::max(best, m_spectra[i]->MSMatch(*spectrum, threshold));
        }
    }
    const double fit = FitThreshold / 1000.0;
    if (SpectralListMode == 1)
        return best >= fit;
    if (SpectralListMode == 2)
        return best < fit;
    return false;
}

std::vector<CPrintLine> CSearchOptions::PrintSummary() const
{
    static const char* const weightings[] = {"none", "Area", "Height", "log(Area)", "log(Height)"};
    static const char* const modes[] = {"no inclusion/exclusion", "ignore peaks with specified MS",
                                        "use only peaks with specified MS"};
    std::vector<CPrintLine> lines;
    const auto body = [&](std::string text) { lines.push_back(CPrintLine{std::move(text), false}); };
    lines.push_back(CPrintLine{"Search Options", true});
    body(FormatC("MS Matching: %s", YesNo(MSMatching)));
    body(FormatC("RT Matching: %s", YesNo(RTMatching)));
    body(FormatC("RI Matching: %s", YesNo(RIMatching)));
    body(FormatC("Area Matching: %s", YesNo(AreaMatching)));
    body(FormatC("Height Matching: %s", YesNo(HeightMatching)));
    body(FormatC("Absolute Area/Height Matching: %s", YesNo(AbsoluteAreaHeight)));
    body(FormatC("Search Folder Recursion: %s", YesNo(SearchSubfolders)));
    body("RT Search Range: " + TimeRange);
    if (RTMatching)
        body(FormatC("RT Window Width: %.2f", RTWindowWidth));
    if (RIMatching)
        body(FormatC("RI Window Width: %.1f", RIWindowWidth));
    body(FormatC("Multiple Matching: %s", YesNo(MultipleMatching)));
    body("Weighting: " + ListText(weightings, Weighting));
    body(FormatC("Mass Threshold: %s", YesNo(MassThresholdOn)));
    if (MassThresholdOn)
        body(FormatC("    Mass Threshold: %.2f", MassThreshold));
    body(FormatC("Area Threshold: %s", YesNo(AreaThresholdOn)));
    if (AreaThresholdOn)
        body(FormatC("    Area Threshold %%: %.2f", AreaThreshold));
    body("Mass Spec Options");
    body("    " + ListText(modes, SpectralListMode));
    if (SpectralListMode == 1 || SpectralListMode == 2) {
        body(FormatC("    Fit Threshold = %i", FitThreshold));
        body("    Selected spectra:");
        for (std::size_t i = 0; i < m_names.size(); ++i)
            if (m_active[i])
                body("        " + m_names[i]);
    }
    body(" ");
    return lines;
}

} // namespace corvelin
