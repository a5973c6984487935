#pragma once
// The small HTML dialect of the hover texts, translated into the rich text a QTextDocument shows: headings
// (h2), line breaks, bordered tables with cells and column spans, bold and coloured text, pictures written as
// "<bmp handle=%lu cx=%i cy=%i>" and links written as "<a msg="...">" whose message text goes back to the
// host. Any other tag is shown as text; nothing in the input can reach a file, a URL or an address.
#include <QString>
#include <string>
#include <vector>

namespace corvelin {

struct CTipPicture {
    unsigned long Handle = 0;
    int Width = 0;
    int Height = 0;
};

struct CTipHtml {
    QString RichText;                  // for QTextDocument::setHtml
    std::vector<CTipPicture> Pictures; // in text order; their resources are "bmp:<handle>"
    std::vector<std::string> Links;    // message texts in text order; link k is "msg:<k>"
};

// Picture sizes are clamped to 1 ... 2000 pixels.
CTipHtml TranslateTipHtml(const std::string& text);

// The message text behind an anchor of the translated text ("msg:<k>"), or nullptr.
const std::string* TipLinkMessage(const CTipHtml& tip, const QString& anchor);

} // namespace corvelin
