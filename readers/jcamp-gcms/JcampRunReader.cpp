#include "readers/jcamp-gcms/JcampRunReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <filesystem>
#include <optional>
#include <vector>

#include "readers/peak-detector/RunFile.h"
#include "readers/peak-detector/RunReadError.h"

namespace corvelin {

namespace {

// Files above this size are refused before anything is allocated for them.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 30;

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// Label comparison ignores case, blanks, '-', '/' and '_' ("DATA TABLE" = "DATATABLE", "VAR_NAME" = "VARNAME").
std::string NormalizeLabel(std::string_view label)
{
    std::string out;
    for (char c : label)
        if (!std::isspace(static_cast<unsigned char>(c)) && c != '-' && c != '/' && c != '_')
            out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return out;
}

std::string Upper(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::optional<double> ParseNumber(std::string_view s)
{
    s = Trim(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || s.empty() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Comma-separated fields of a value ("M/Z, RELATIVE ABUNDANCE, SECONDS").
std::vector<std::string> SplitFields(std::string_view value)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        out.emplace_back(
            Trim(value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return out;
}

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

double TimeUnitToMinutes(const std::string& unit)
{
    const std::string u = Upper(unit);
    if (u.find("MIN") != std::string::npos)
        return 1.0;
    if (u.find("HOUR") != std::string::npos)
        return 60.0;
    if (u.find("MILLISEC") != std::string::npos || u == "MS")
        return 1.0 / 60000.0;
    return 1.0 / 60.0;
}

struct Scan {
    std::optional<double> time;
    std::optional<double> declaredPoints;
    std::vector<double> numbers; // x, y, x, y, ...
    bool inData = false;
    bool hadData = false;
    std::string unsupportedForm; // a data table this reader does not decode (compressed, profile)
};

class JcampParser {
public:
    JcampParser(std::string_view text, std::string name) : m_text(text), m_name(std::move(name)) {}
    CScanRun Parse();

private:
    [[noreturn]] void Refuse(int code, const std::string& why) const
    {
        throw CRunReadError(code, "'" + m_name + "' " + why);
    }
    void HandleLabel(const std::string& label, std::string_view value);
    void HandleDataLine(std::string_view line);
    void FinishScan(bool atEnd);
    bool ScanOpen() const { return m_scan.time || m_scan.hadData || m_scan.declaredPoints; }

    std::string_view m_text;
    std::string m_name;
    std::size_t m_lineNumber = 0;
    bool m_sawLabel = false;
    bool m_inNtuples = false;
    bool m_ntuplesEnded = false;
    bool m_ended = false;
    std::vector<std::string> m_varNames, m_symbols, m_units;
    std::size_t m_untimedScans = 0;
    std::size_t m_scansRead = 0;
    Scan m_scan;
    std::vector<Scan> m_done;
    std::string m_title, m_comment;
};

void JcampParser::HandleLabel(const std::string& label, std::string_view value)
{
    if (m_scan.inData) {
        m_scan.inData = false;
    }
    if (label == "PAGE" || label == "SCANNUMBER") {
        if (m_scan.hadData)
            FinishScan(false);
        if (label == "PAGE") {
            const std::size_t eq = value.find('=');
            if (auto t = ParseNumber(eq == std::string_view::npos ? value : value.substr(eq + 1)); t && !m_scan.time)
                m_scan.time = *t;
        }
    } else if (label == "RETENTIONTIME") {
        if (m_scan.hadData)
            FinishScan(false);
        if (auto t = ParseNumber(value); t && !m_scan.time)
            m_scan.time = *t;
    } else if (label == "NPOINTS") {
        if (m_scan.hadData)
            FinishScan(false);
        m_scan.declaredPoints = ParseNumber(value);
    } else if (label == "XYDATA" || label == "DATATABLE" || label == "PEAKTABLE" || label == "XYPOINTS") {
        if (m_scan.hadData)
            FinishScan(false);
        const std::string form = NormalizeLabel(value);
        m_scan.hadData = true;
        if (form.find("XY..XY") == std::string::npos && form.find("XYDATA") == std::string::npos &&
            form.find("XYXY") == std::string::npos) {
            m_scan.unsupportedForm = std::string(Trim(value));
            return;
        }
        m_scan.inData = true;
    } else if (label == "NTUPLES") {
        m_inNtuples = true;
    } else if (label == "ENDNTUPLES") {
        if (ScanOpen())
            FinishScan(false);
        m_ntuplesEnded = true;
    } else if (label == "END") {
        if (ScanOpen())
            FinishScan(false);
        if (m_scansRead > 0)
            m_ended = true;
    } else if (label == "VARNAME") {
        m_varNames = SplitFields(value);
    } else if (label == "SYMBOL") {
        m_symbols = SplitFields(value);
    } else if (label == "UNITS") {
        m_units = SplitFields(value);
    } else if (label == "TITLE") {
        if (m_title.empty() && m_done.empty())
            m_title = std::string(Trim(value));
    } else if (label == "DESCRIPTION" || label == "SAMPLEDESCRIPTION") {
        if (m_comment.empty() && m_done.empty())
            m_comment = std::string(Trim(value));
    }
}

void JcampParser::HandleDataLine(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == ';') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j])) && line[j] != ',' &&
               line[j] != ';')
            ++j;
        const std::string_view token = line.substr(i, j - i);
        if (token == "?") {
            m_scan.numbers.push_back(std::nan(""));
        } else if (auto v = ParseNumber(token)) {
            m_scan.numbers.push_back(*v);
        } else {
            Refuse(EBADMSG, "has an unreadable data line " + std::to_string(m_lineNumber) + ".");
        }
        i = j;
    }
}

void JcampParser::FinishScan(bool atEnd)
{
    Scan scan = std::move(m_scan);
    m_scan = Scan{};
    if (!scan.hadData && !scan.time)
        return;
    if (!scan.unsupportedForm.empty()) {
        // At the end of the text an unknown form is most likely a label cut short.
        if (scan.time && atEnd)
            Refuse(EBADMSG, "is truncated: its last scan has no complete mass list.");
        if (scan.time)
            Refuse(ENOTSUP, "has a scan in the form " + scan.unsupportedForm + "; only (XY..XY) mass lists are read.");
        ++m_untimedScans;
        return;
    }
    const std::size_t pairs = scan.numbers.size() / 2;
    const bool halfPair = scan.numbers.size() % 2 != 0;
    const bool shortOfDeclared =
        scan.declaredPoints && *scan.declaredPoints >= 0 && static_cast<double>(pairs) < *scan.declaredPoints;
    if (halfPair || shortOfDeclared) {
        if (atEnd)
            Refuse(EBADMSG, "is truncated: its last scan ends after " + std::to_string(pairs) + " of " +
                                (scan.declaredPoints ? Number(*scan.declaredPoints) : std::string("its")) + " lines.");
        Refuse(EBADMSG, "is inconsistent: scan " + std::to_string(m_done.size() + m_untimedScans + 1) +
                            " has fewer lines than its ##NPOINTS= states (before line " + std::to_string(m_lineNumber) +
                            ").");
    }
    if (!scan.time) {
        ++m_untimedScans;
        return;
    }
    ++m_scansRead;
    m_done.push_back(std::move(scan));
}

CScanRun JcampParser::Parse()
{
    std::size_t pos = 0;
    while (pos < m_text.size() && !m_ended) {
        std::size_t eol = m_text.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = m_text.size();
        std::string_view line = m_text.substr(pos, eol - pos);
        pos = eol + 1;
        ++m_lineNumber;
        if (const std::size_t comment = line.find("$$"); comment != std::string_view::npos)
            line = line.substr(0, comment);
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty())
            continue;
        if (trimmed.starts_with("##")) {
            const std::size_t eq = trimmed.find('=');
            const std::string label =
                NormalizeLabel(trimmed.substr(2, eq == std::string_view::npos ? std::string_view::npos : eq - 2));
            const std::string_view value = eq == std::string_view::npos ? std::string_view{} : trimmed.substr(eq + 1);
            m_sawLabel = true;
            HandleLabel(label, value);
            continue;
        }
        if (!m_sawLabel)
            Refuse(EMEDIUMTYPE, "is not a JCAMP-DX file.");
        if (m_scan.inData)
            HandleDataLine(trimmed);
        // Text after other labels (multi-line values) is not needed.
    }
    if (!m_sawLabel)
        Refuse(EMEDIUMTYPE, "is not a JCAMP-DX file.");
    if (ScanOpen())
        FinishScan(true);
    if (m_inNtuples && !m_ntuplesEnded && !m_ended)
        Refuse(EBADMSG, "is truncated: its NTUPLES block has no ##END NTUPLES=.");
    if (m_untimedScans > 0 && !m_done.empty())
        Refuse(EBADMSG, "is inconsistent: " + std::to_string(m_untimedScans) + " of its scans have no retention time.");
    const std::size_t spectra = m_done.size() + m_untimedScans;
    if (spectra == 0)
        Refuse(EMEDIUMTYPE, "holds no mass spectra; it is not a GC-MS run.");
    if (spectra == 1)
        Refuse(EMEDIUMTYPE, "holds a single mass spectrum; it is not a GC-MS run.");
    if (m_done.size() < 2)
        Refuse(EMEDIUMTYPE, "holds " + std::to_string(spectra) +
                                " mass spectra without retention times; it is a spectrum collection, not a GC-MS run.");

    // The unit of the time variable, when the file states one.
    double toMinutes = 1.0 / 60.0;
    for (std::size_t i = 0; i < m_units.size(); ++i) {
        const bool isTime = (i < m_symbols.size() && Upper(m_symbols[i]) == "T") ||
                            (i < m_varNames.size() && Upper(m_varNames[i]).find("TIME") != std::string::npos);
        if (isTime && !m_units[i].empty())
            toMinutes = TimeUnitToMinutes(m_units[i]);
    }

    CScanRun run;
    run.SampleName = m_title;
    run.Comment = m_comment;
    run.DataFile = std::filesystem::path(m_name).filename().string();
    for (const Scan& scan : m_done) {
        run.AddScan(*scan.time * toMinutes);
        for (std::size_t k = 0; k + 1 < scan.numbers.size(); k += 2) {
            const double m = scan.numbers[k];
            const double v = scan.numbers[k + 1];
            if (std::isfinite(m) && std::isfinite(v) && m > 0 && v > 0)
                run.AddLine(m, v);
        }
    }
    run.SortScansByTime();
    return run;
}

} // namespace

CScanRun ParseJcampRun(std::string_view text, const std::string& name)
{
    return JcampParser(text, name).Parse();
}

CScanRun ReadJcampRun(const std::string& path)
{
    const std::vector<unsigned char> bytes = ReadRunFile(path, kMaxFileBytes);
    return ParseJcampRun(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
}

} // namespace corvelin
