#include "gui/widgets/TipHtml.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace corvelin {
namespace {

struct Tag {
    std::string Name; // lower case, "/" first for a closing tag
    std::map<std::string, std::string> Attributes;
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_';
}

// Parses the tag between '<' and '>' (both excluded); false when it is not a tag at all.
bool ParseTag(const std::string& body, Tag& tag)
{
    std::size_t i = 0;
    if (i < body.size() && body[i] == '/') {
        tag.Name.push_back('/');
        ++i;
    }
    const std::size_t nameStart = i;
    while (i < body.size() && IsNameChar(body[i]))
        ++i;
    if (i == nameStart)
        return false;
    tag.Name += Lower(body.substr(nameStart, i - nameStart));
    while (i < body.size()) {
        while (i < body.size() && (std::isspace(static_cast<unsigned char>(body[i])) != 0 || body[i] == '/'))
            ++i;
        const std::size_t keyStart = i;
        while (i < body.size() && IsNameChar(body[i]))
            ++i;
        if (i == keyStart) {
            if (i < body.size())
                ++i; // stray character: skip
            continue;
        }
        const std::string key = Lower(body.substr(keyStart, i - keyStart));
        std::string value;
        if (i < body.size() && body[i] == '=') {
            ++i;
            if (i < body.size() && (body[i] == '"' || body[i] == '\'')) {
                const char quote = body[i++];
                const std::size_t end = body.find(quote, i);
                value = body.substr(i, end == std::string::npos ? std::string::npos : end - i);
                i = end == std::string::npos ? body.size() : end + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < body.size() && std::isspace(static_cast<unsigned char>(body[i])) == 0)
                    ++i;
                value = body.substr(valueStart, i - valueStart);
            }
        }
        tag.Attributes.emplace(key, value);
    }
    return true;
}

// The end of the tag starting at '<' at `start` (index of its '>'), quotes respected; npos when unterminated.
std::size_t TagEnd(const std::string& text, std::size_t start)
{
    char quote = 0;
    for (std::size_t i = start + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        } else if (c == '<') {
            return std::string::npos;
        }
    }
    return std::string::npos;
}

QString Escaped(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size())).toHtmlEscaped();
}

int AttributeInt(const Tag& tag, const char* name, int fallback)
{
    const auto found = tag.Attributes.find(name);
    if (found == tag.Attributes.end())
        return fallback;
    return std::atoi(found->second.c_str());
}

// A colour as "#rgb"/"#rrggbb" or a plain colour name; anything else is dropped.
bool IsSafeColour(const std::string& colour)
{
    if (colour.empty() || colour.size() > 20)
        return false;
    if (colour[0] == '#')
        return (colour.size() == 4 || colour.size() == 7) &&
               std::all_of(colour.begin() + 1, colour.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
    return std::all_of(colour.begin(), colour.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
}

} // namespace

CTipHtml TranslateTipHtml(const std::string& text)
{
    CTipHtml tip;
    QString& out = tip.RichText;
    int openLinks = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('<', i);
        out += Escaped(text.substr(i, open == std::string::npos ? std::string::npos : open - i));
        if (open == std::string::npos)
            break;
        const std::size_t close = TagEnd(text, open);
        Tag tag;
        if (close == std::string::npos || !ParseTag(text.substr(open + 1, close - open - 1), tag)) {
            out += QStringLiteral("&lt;");
            i = open + 1;
            continue;
        }
        i = close + 1;
        const std::string& name = tag.Name;
        if (name == "h2" || name == "/h2" || name == "b" || name == "/b" || name == "tr" || name == "/tr" ||
            name == "/td" || name == "/table" || name == "/font") {
            out += QLatin1Char('<') + QString::fromLatin1(name) + QLatin1Char('>');
        } else if (name == "br") {
            out += QStringLiteral("<br>");
        } else if (name == "table") {
            const int border = std::clamp(AttributeInt(tag, "border", 0), 0, 10);
            out += QStringLiteral("<table border=\"%1\" cellspacing=\"0\" cellpadding=\"3\" "
                                  "style=\"border-collapse:collapse\">")
                       .arg(border);
        } else if (name == "td") {
            const int span = std::clamp(AttributeInt(tag, "colspan", 1), 1, 64);
            out += span > 1 ? QStringLiteral("<td colspan=\"%1\">").arg(span) : QStringLiteral("<td>");
        } else if (name == "font") {
            const auto colour = tag.Attributes.find("color");
            if (colour != tag.Attributes.end() && IsSafeColour(colour->second))
                out += QStringLiteral("<font color=\"%1\">").arg(QString::fromLatin1(colour->second));
            else
                out += QStringLiteral("<font>");
        } else if (name == "bmp") {
            CTipPicture picture;
            picture.Handle = std::strtoul(tag.Attributes["handle"].c_str(), nullptr, 10);
            picture.Width = std::clamp(AttributeInt(tag, "cx", 150), 1, 2000);
            picture.Height = std::clamp(AttributeInt(tag, "cy", 75), 1, 2000);
            tip.Pictures.push_back(picture);
            out += QStringLiteral("<img src=\"bmp:%1\" width=\"%2\" height=\"%3\">")
                       .arg(picture.Handle)
                       .arg(picture.Width)
                       .arg(picture.Height);
        } else if (name == "a") {
            const auto msg = tag.Attributes.find("msg");
            if (msg == tag.Attributes.end()) {
                out += QStringLiteral("<a>");
            } else {
                out += QStringLiteral("<a href=\"msg:%1\">").arg(tip.Links.size());
                tip.Links.push_back(msg->second);
            }
            ++openLinks;
        } else if (name == "/a") {
            if (openLinks > 0) {
                out += QStringLiteral("</a>");
                --openLinks;
            }
        } else {
            // Not part of the dialect: shown as the text it is.
            out += Escaped(text.substr(open, close - open + 1));
        }
    }
    return tip;
}

const std::string* TipLinkMessage(const CTipHtml& tip, const QString& anchor)
{
    if (!anchor.startsWith(QStringLiteral("msg:")))
        return nullptr;
    bool ok = false;
    const qulonglong index = anchor.mid(4).toULongLong(&ok);
    if (!ok || index >= tip.Links.size())
        return nullptr;
    return &tip.Links[index];
}

} // namespace corvelin
