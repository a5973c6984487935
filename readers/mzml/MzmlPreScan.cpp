#include "readers/mzml/MzmlPreScan.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "readers/peak-detector/RunReadError.h"

namespace corvelin {

namespace {

constexpr std::size_t kMaxProlog = std::size_t{1} << 20; // bytes before the root element
constexpr std::size_t kMaxTagText = 4096;                // bytes of one start tag kept for its attributes

int Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// Decodes one element's base64 text as it streams by and measures what it holds: the decoded bytes, or, for a
// zlib stream, the bytes it inflates to (refused as soon as they pass the bound; the output is discarded).
class CArrayMeter {
public:
    explicit CArrayMeter(std::size_t maxBytes) : m_maxBytes(maxBytes) {}
    ~CArrayMeter() { EndInflate(); }
    CArrayMeter(const CArrayMeter&) = delete;
    CArrayMeter& operator=(const CArrayMeter&) = delete;

    void Start()
    {
        EndInflate();
        m_bits = 0;
        m_bitCount = 0;
        m_decoded = 0;
        m_inflated = 0;
        m_fill = 0;
        m_zlibDone = false;
    }
    void Add(char c)
    {
        const int v = Base64Value(c);
        if (v < 0)
            return; // white space, padding
        m_bits = (m_bits << 6) | static_cast<unsigned>(v);
        m_bitCount += 6;
        if (m_bitCount >= 8) {
            m_bitCount -= 8;
            m_input[m_fill++] = static_cast<unsigned char>(m_bits >> m_bitCount);
            if (m_fill == sizeof m_input)
                Flush();
        }
    }
    // The bytes the array holds once decoded (and inflated).
    std::size_t Finish()
    {
        Flush();
        if (m_zlib) {
            m_totalCompressed += m_decoded;
            m_totalInflated += m_inflated;
        }
        return m_zlib ? m_inflated : m_decoded;
    }

private:
    void Flush()
    {
        if (m_decoded == 0 && m_fill >= 2 && (m_input[0] & 0x0F) == 8 && (m_input[0] * 256 + m_input[1]) % 31 == 0) {
            m_stream = z_stream{};
            m_zlib = inflateInit(&m_stream) == Z_OK;
        }
        m_decoded += m_fill;
        if (m_zlib && !m_zlibDone)
            Inflate(m_fill);
        m_fill = 0;
    }
    void EndInflate()
    {
        if (m_zlib)
            inflateEnd(&m_stream);
        m_zlib = false;
    }
    void Inflate(std::size_t size)
    {
        m_stream.next_in = m_input;
        m_stream.avail_in = static_cast<unsigned>(size);
        do {
            m_stream.next_out = m_window;
            m_stream.avail_out = sizeof m_window;
            const int result = inflate(&m_stream, Z_NO_FLUSH);
            m_inflated += sizeof m_window - m_stream.avail_out;
            if (m_inflated > m_maxBytes)
                throw CRunReadError(EFBIG, "A compressed scan inflates to more than any GC-MS scan holds (the "
                                           "limit is " +
                                               std::to_string(m_maxBytes) +
                                               " bytes; the file is "
                                               "damaged or hostile).");
            // Spectra compress a few times at most; a zlib stream can inflate a thousandfold. The file's arrays
            // together may inflate to kInflateRatio times what they take compressed (and kInflateSlack more for
            // small files), which every GC-MS run keeps to and which stops a hostile file soon.
            if (m_totalInflated + m_inflated > kInflateRatio * (m_totalCompressed + m_decoded) + kInflateSlack)
                throw CRunReadError(EFBIG, "The compressed scans inflate to far more than GC-MS data compress to "
                                           "(the limit is " +
                                               std::to_string(kInflateRatio) +
                                               " times their "
                                               "compressed size; the file is damaged or hostile).");
            if (result == Z_BUF_ERROR)
                return; // wants more input
            if (result != Z_OK) {
                m_zlibDone = true; // the end of the stream, or a damaged one the library reports itself
                return;
            }
        } while (m_stream.avail_in > 0 || m_stream.avail_out == 0);
    }

    static constexpr std::size_t kInflateRatio = 64;
    static constexpr std::size_t kInflateSlack = std::size_t{64} << 20;

    std::size_t m_maxBytes;
    std::size_t m_totalCompressed = 0; // the compressed arrays finished so far
    std::size_t m_totalInflated = 0;
    unsigned m_bits = 0;
    int m_bitCount = 0;
    std::size_t m_decoded = 0;
    std::size_t m_inflated = 0;
    std::size_t m_fill = 0;
    bool m_zlib = false;
    bool m_zlibDone = false;
    z_stream m_stream{};
    unsigned char m_input[4096];
    unsigned char m_window[65536];
};

// The value of attribute name in a start tag's text, empty when absent.
std::string Attribute(const std::string& tag, const char* name)
{
    const std::string key = std::string(name) + "=";
    for (std::size_t at = tag.find(key); at != std::string::npos; at = tag.find(key, at + 1)) {
        if (at > 0 && tag[at - 1] != ' ' && tag[at - 1] != '\t' && tag[at - 1] != '\n' && tag[at - 1] != '\r')
            continue;
        const std::size_t open = at + key.size();
        if (open >= tag.size() || (tag[open] != '"' && tag[open] != '\''))
            return {};
        const std::size_t close = tag.find(tag[open], open + 1);
        return close == std::string::npos ? std::string() : tag.substr(open + 1, close - open - 1);
    }
    return {};
}

std::string TagName(const std::string& tag)
{
    std::size_t end = 0;
    while (end < tag.size() && tag[end] != ' ' && tag[end] != '\t' && tag[end] != '\r' && tag[end] != '\n' &&
           tag[end] != '/')
        ++end;
    const std::size_t colon = tag.rfind(':', end);
    const std::size_t begin = colon == std::string::npos ? 0 : colon + 1;
    return tag.substr(begin, end - begin);
}

// The pass itself: a small state machine over the bytes.
class CPreScanner {
public:
    CPreScanner(std::size_t maxLines, std::size_t maxArrayBytes) : m_maxLines(maxLines), m_meter(maxArrayBytes) {}

    void Feed(const char* data, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i, ++m_offset) {
            const char c = data[i];
            if (m_previous == '&' && c == '#')
                throw CRunReadError(EILSEQ, "The file holds numeric character references (\"&#\"), which this "
                                            "reader does not take.");
            // XML allows no NUL character anywhere; the data library splits a tag at one and then writes its
            // attributes past its own table.
            if (c == '\0')
                throw CRunReadError(EILSEQ, "The file holds a NUL byte, which XML does not allow (the file is "
                                            "damaged).");
            m_previous = c;
            Step(c);
        }
        if (!m_rootSeen && m_offset > kMaxProlog)
            throw CRunReadError(EMEDIUMTYPE, "The file has no root element in its first megabyte; it is neither "
                                             "mzML nor mzXML.");
    }
    CMzmlPreScan Result() const { return m_result; }

private:
    enum class State { Text, Tag, Comment, Array };

    void Step(char c)
    {
        switch (m_state) {
        case State::Text:
            if (c == '<')
                BeginTag();
            return;
        case State::Array:
            if (c == '<') {
                EndArray();
                BeginTag();
            } else {
                m_meter.Add(c);
            }
            return;
        case State::Comment:
            m_tail3 = (m_tail3 << 8 | static_cast<unsigned char>(c)) & 0xFFFFFF;
            if (m_tail3 == ('-' << 16 | '-' << 8 | '>'))
                m_state = State::Text;
            return;
        case State::Tag:
            TagChar(c);
            return;
        }
    }
    void BeginTag()
    {
        m_state = State::Tag;
        m_tag.clear();
        m_quote = 0;
        m_afterEquals = false;
        m_tagStart = m_offset;
    }
    void TagChar(char c)
    {
        if (m_quote) {
            if (c == m_quote)
                m_quote = 0;
        } else if (c == '"' || c == '\'') {
            m_quote = c;
            m_afterEquals = false;
        } else if (m_afterEquals && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            // The data library looks for the value's quote past the end of the tag when there is none.
            throw CRunReadError(EBADMSG, "An attribute's value is not in quotes (the file is damaged).");
        } else if (c == '=' && IsStartTag()) {
            m_afterEquals = true;
        } else if (c == '>') {
            EndTag();
            return;
        }
        if (m_tag.size() < kMaxTagText)
            m_tag += c;
        if (m_tag.size() == 3 && m_tag == "!--") {
            m_tail3 = 0;
            m_state = State::Comment;
        }
    }
    // Attributes belong to start tags; declarations, comments and processing instructions have other syntax.
    bool IsStartTag() const { return !m_tag.empty() && m_tag[0] != '?' && m_tag[0] != '!' && m_tag[0] != '/'; }
    void EndTag()
    {
        m_state = State::Text;
        if (m_tag.empty() || m_tag[0] == '?' || m_tag[0] == '!' || m_tag[0] == '/')
            return;
        if (!m_rootSeen) {
            m_rootSeen = true;
            m_result.RootOffset = m_tagStart;
            m_result.RootName = TagName(m_tag);
        }
        const bool selfClosing = m_tag.back() == '/';
        const std::string name = TagName(m_tag);
        if (name == "scan") {
            m_scanPeaksCount = Attribute(m_tag, "peaksCount");
            const std::string num = Attribute(m_tag, "num");
            const std::string time = Attribute(m_tag, "retentionTime");
            if (!num.empty() && !time.empty())
                m_result.MzxmlSeconds[std::strtoll(num.c_str(), nullptr, 10)] = MzxmlDurationSeconds(time);
        } else if ((name == "binary" || name == "peaks") && !selfClosing) {
            m_inPeaks = name == "peaks";
            m_meter.Start();
            m_state = State::Array;
        }
    }
    void EndArray()
    {
        m_bytes = m_meter.Finish();
        if (!m_inPeaks)
            return;
        // mzXML: the library takes peaksCount as the number of lines and reads a wrapped or zero count as none.
        char* end = nullptr;
        const unsigned long long count = std::strtoull(m_scanPeaksCount.c_str(), &end, 10);
        const bool number = !m_scanPeaksCount.empty() && end && *end == '\0' && m_scanPeaksCount[0] != '-';
        if (number && count > m_maxLines)
            throw CRunReadError(EFBIG, "A scan's peaksCount (" + m_scanPeaksCount +
                                           ") is more lines than any GC-MS scan holds (the limit is " +
                                           std::to_string(m_maxLines) + " lines).");
        if ((!number || count == 0) && m_bytes >= 8)
            throw CRunReadError(EBADMSG, "A scan's peaksCount (\"" + m_scanPeaksCount +
                                             "\") does not give the number of lines its peaks hold.");
    }

    std::size_t m_maxLines;
    CArrayMeter m_meter;
    CMzmlPreScan m_result;
    State m_state = State::Text;
    std::string m_tag;
    char m_quote = 0;
    bool m_afterEquals = false; // a start tag's "=" waits for the quote of its value
    char m_previous = 0;
    unsigned m_tail3 = 0;
    std::size_t m_offset = 0;
    std::size_t m_tagStart = 0;
    bool m_rootSeen = false;
    bool m_inPeaks = false;
    std::size_t m_bytes = 0;
    std::string m_scanPeaksCount;
};

// Reads a decimal number at text[at...]; advances at. NaN when there is none.
double NumberAt(const std::string& text, std::size_t& at)
{
    const char* begin = text.c_str() + at;
    if (*begin == '+' || *begin == '-')
        return std::nan("");
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(value))
        return std::nan("");
    at += static_cast<std::size_t>(end - begin);
    return value;
}

} // namespace

double MzxmlDurationSeconds(const std::string& text)
{
    std::size_t at = 0;
    if (text.empty() || text[0] != 'P') {
        const double plain = NumberAt(text, at);
        return at == text.size() ? plain : std::nan("");
    }
    at = 1;
    double seconds = 0;
    bool inTime = false;
    bool any = false;
    while (at < text.size()) {
        if (text[at] == 'T' && !inTime) {
            inTime = true;
            ++at;
            continue;
        }
        const double value = NumberAt(text, at);
        if (std::isnan(value) || at >= text.size())
            return std::nan("");
        const char unit = text[at++];
        if (!inTime && unit == 'D')
            seconds += value * 86400;
        else if (inTime && unit == 'H')
            seconds += value * 3600;
        else if (inTime && unit == 'M')
            seconds += value * 60;
        else if (inTime && unit == 'S')
            seconds += value;
        else
            return std::nan(""); // years and months have no fixed length
        any = true;
    }
    return any ? seconds : std::nan("");
}

CMzmlPreScan PreScanMzml(const std::string& path, std::size_t maxLines, std::size_t maxArrayBytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CRunReadError(EACCES, "The file cannot be opened.");
    auto scanner = std::make_unique<CPreScanner>(maxLines, maxArrayBytes);
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        scanner->Feed(buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    return scanner->Result();
}

} // namespace corvelin
