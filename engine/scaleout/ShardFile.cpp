#include "engine/scaleout/ShardFile.h"

#include <charconv>

#include "engine/platform/CFormat.h"
#include "engine/platform/NumberScan.h"
#include "engine/platform/TextFile.h"
#include "engine/platform/WholeFile.h"

#ifndef CORVELIN_PRODUCT_VERSION
#define CORVELIN_PRODUCT_VERSION "unknown"
#endif

namespace corvelin {

namespace {

constexpr const char* kEndLine = "End of shard result";

void Escape(std::string& out, std::string_view text)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                out += "\\x";
                out += kDigits[byte >> 4];
                out += kDigits[byte & 15];
            } else {
                out += c;
            }
        }
    }
}

[[noreturn]] void Malformed(std::size_t line, const std::string& why)
{
    throw CUserException(FormatC("line %zu: ", line) + why);
}

// Reads escaped text from text[pos] up to (not including) an unescaped stop character, or to the end when
// stop is 0. pos is left on the stop character.
std::string Unescape(std::string_view text, std::size_t& pos, char stop, std::size_t line)
{
    std::string out;
    while (pos < text.size() && !(stop != 0 && text[pos] == stop)) {
        char c = text[pos++];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= text.size())
            Malformed(line, "a backslash at the end");
        const char e = text[pos++];
        switch (e) {
        case '\\':
        case '"':
            out += e;
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            const int hi = pos + 1 < text.size() ? HexDigitValue(text[pos]) : -1;
            const int lo = hi >= 0 ? HexDigitValue(text[pos + 1]) : -1;
            if (lo < 0)
                Malformed(line, "a bad \\x escape");
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
            break;
        }
        default:
            Malformed(line, "an unknown escape");
        }
    }
    return out;
}

long long Number(std::string_view text, std::size_t line, long long low, long long high)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        Malformed(line, "not a number in range: \"" + std::string(text.substr(0, 40)) + "\"");
    return value;
}

bool IsDigest(std::string_view text)
{
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// Walks the text line by line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}
    bool AtEnd() const { return m_pos >= m_text.size(); }
    std::size_t Number() const { return m_line; }
    std::string_view Next()
    {
        if (AtEnd())
            Malformed(m_line + 1, "the file ends early (no \"End of shard result\" line)");
        const std::size_t end = m_text.find('\n', m_pos);
        if (end == std::string_view::npos)
            Malformed(m_line + 1, "the last line has no line end");
        const std::string_view line = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        ++m_line;
        return line;
    }
    // The value of the next line, which must be "<key> = <value>".
    std::string_view Value(std::string_view key)
    {
        const std::string_view line = Next();
        if (line.size() < key.size() + 3 || line.substr(0, key.size()) != key || line.substr(key.size(), 3) != " = ")
            Malformed(m_line, "expected \"" + std::string(key) + " = ...\"");
        return line.substr(key.size() + 3);
    }
    std::string Text(std::string_view key)
    {
        const std::string_view value = Value(key);
        std::size_t pos = 0;
        return Unescape(value, pos, 0, m_line);
    }
    std::string Digest(std::string_view key)
    {
        const std::string_view value = Value(key);
        if (!IsDigest(value))
            Malformed(m_line, std::string(key) + " is not 64 lower-case hexadecimal digits");
        return std::string(value);
    }
    bool PeekKey(std::string_view key) const
    {
        return m_text.substr(m_pos, key.size() + 3) == std::string(key) + " = ";
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_line = 0;
};

CShardRow ParseRow(std::string_view line, std::size_t number)
{
    CShardRow row;
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos)
        Malformed(number, "a row without its index");
    row.Index = Number(line.substr(0, comma), number, 0, (1LL << 40));
    std::size_t pos = comma + 1;
    while (pos < line.size()) {
        if (line[pos] != '"')
            Malformed(number, "a cell that does not start with a double quote");
        ++pos;
        row.Cells.push_back(Unescape(line, pos, '"', number));
        if (pos + 1 >= line.size() || line[pos] != '"' || line[pos + 1] != ',')
            Malformed(number, "a cell that does not end with a double quote and a comma");
        pos += 2;
    }
    if (row.Cells.empty())
        Malformed(number, "a row without cells");
    return row;
}

} // namespace

bool CShardHeader::SameSearchAs(const CShardHeader& o) const
{
    return Program == o.Program && Shard.Count == o.Shard.Count && UnknownSha256 == o.UnknownSha256 &&
           UnknownPath == o.UnknownPath && SampleName == o.SampleName && PeakCountText == o.PeakCountText &&
           LibraryFolder == o.LibraryFolder && TooManyPeaks == o.TooManyPeaks && FailureText == o.FailureText &&
           MaxPeaks == o.MaxPeaks && Subfolders == o.Subfolders && OptionsSha256 == o.OptionsSha256 &&
           ParameterLines == o.ParameterLines && EntryCount == o.EntryCount && EntryListSha256 == o.EntryListSha256;
}

std::string ShardProgramText()
{
    return std::string("Corvelinscope ") + CORVELIN_PRODUCT_VERSION;
}

std::string ShardFileText(const CShardResult& result)
{
    const CShardHeader& h = result.Header;
    std::string t = std::string(kShardFormatLine) + "\n";
    const auto text = [&t](const char* key, std::string_view value) {
        t += key;
        t += " = ";
        Escape(t, value);
        t += '\n';
    };
    text("Program", h.Program);
    t += FormatC("Shard = %d/%d\n", h.Shard.Index, h.Shard.Count);
    text("Unknown SHA-256", h.UnknownSha256);
    text("Unknown", h.UnknownPath);
    text("Sample Name", h.SampleName);
    text("Number of Peaks", h.PeakCountText);
    text("Chromatogram Library", h.LibraryFolder);
    text("Search End", h.TooManyPeaks ? "too many peaks" : "completed");
    text("Failure Text", h.FailureText);
    t += FormatC("MaxPeaks = %d\nSubfolders = %d\n", h.MaxPeaks, h.Subfolders);
    text("Options SHA-256", h.OptionsSha256);
    for (const std::string& line : h.ParameterLines)
        text("Parameter", line);
    t += FormatC("Library Entries = %lld\n", h.EntryCount);
    text("Library List SHA-256", h.EntryListSha256);
    t += FormatC("Rows = %zu\n", result.Rows.size());
    for (const CShardRow& row : result.Rows) {
        t += std::to_string(row.Index) + ",";
        for (const std::string& cell : row.Cells) {
            t += '"';
            Escape(t, cell);
            t += "\",";
        }
        t += '\n';
    }
    return t + kEndLine + "\n";
}

CShardResult ParseShardFile(std::string_view text)
{
    LineReader in(text);
    if (in.AtEnd() || in.Next() != kShardFormatLine)
        throw CUserException("not a shard result file of this program (its first line is not \"" +
                             std::string(kShardFormatLine) + "\")");
    CShardResult result;
    CShardHeader& h = result.Header;
    h.Program = in.Text("Program");
    const auto shard = ParseShardSpec(std::string(in.Value("Shard")));
    if (!shard)
        Malformed(in.Number(), "the shard is not \"k/n\" with 0 <= k < n");
    h.Shard = *shard;
    h.UnknownSha256 = in.Digest("Unknown SHA-256");
    h.UnknownPath = in.Text("Unknown");
    h.SampleName = in.Text("Sample Name");
    h.PeakCountText = in.Text("Number of Peaks");
    h.LibraryFolder = in.Text("Chromatogram Library");
    const std::string end = in.Text("Search End");
    if (end != "completed" && end != "too many peaks")
        Malformed(in.Number(), "unknown search end \"" + end.substr(0, 40) + "\"");
    h.TooManyPeaks = end == "too many peaks";
    h.FailureText = in.Text("Failure Text");
    h.MaxPeaks = static_cast<int>(Number(in.Value("MaxPeaks"), in.Number(), 0, 1 << 30));
    h.Subfolders = static_cast<int>(Number(in.Value("Subfolders"), in.Number(), 0, 1));
    h.OptionsSha256 = in.Digest("Options SHA-256");
    while (in.PeekKey("Parameter"))
        h.ParameterLines.push_back(in.Text("Parameter"));
    h.EntryCount = Number(in.Value("Library Entries"), in.Number(), 0, 1LL << 40);
    h.EntryListSha256 = in.Digest("Library List SHA-256");
    const long long rows = Number(in.Value("Rows"), in.Number(), 0, h.EntryCount);
    for (long long r = 0; r < rows; ++r) { // each row takes a line of the text, so the loop is bounded by it
        const std::string_view line = in.Next();
        if (line == kEndLine)
            Malformed(in.Number(), FormatC("%lld rows were announced, %lld came", rows, r));
        CShardRow row = ParseRow(line, in.Number());
        if (row.Index >= h.EntryCount)
            Malformed(in.Number(), "a row index beyond the library's entries");
        if (!result.Rows.empty() && row.Index <= result.Rows.back().Index)
            Malformed(in.Number(), "row indices not in ascending order");
        result.Rows.push_back(std::move(row));
    }
    if (in.Next() != kEndLine)
        Malformed(in.Number(), "expected \"End of shard result\"");
    if (!in.AtEnd())
        Malformed(in.Number() + 1, "text after \"End of shard result\"");
    return result;
}

void WriteShardFile(const std::string& path, const CShardResult& result)
{
    WriteFileAtomically(path, ShardFileText(result));
}

CShardResult ReadShardFile(const std::string& path)
{
    std::string bytes;
    switch (ReadWholeFile(path, std::size_t(4) << 30, bytes)) {
    case WholeFileRead::Read:
        break;
    case WholeFileRead::Missing:
        throw CUserException("shard file " + path + ": not found");
    case WholeFileRead::TooLarge:
        throw CUserException("shard file " + path + ": larger than 4 GiB");
    case WholeFileRead::Failed:
        throw CUserException("shard file " + path + ": cannot be read");
    }
    try {
        return ParseShardFile(bytes);
    } catch (const CUserException& e) {
        throw CUserException("shard file " + path + ": " + e.what());
    }
}

} // namespace corvelin
