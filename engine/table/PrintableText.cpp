#include "engine/table/PrintableText.h"

namespace corvelin {

std::string PrintableText(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            c = ' ';
    }
    return out;
}

} // namespace corvelin
