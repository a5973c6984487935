#include "engine/views/PeakLink.h"

#include <climits>

namespace corvelin {

CPeakLink ParsePeakLink(const std::string& text)
{
    CPeakLink link;
    if (text.empty() || (text[0] != '1' && text[0] != '2'))
        return link;
    const bool nist = text.find("-Nist-") != std::string::npos;
    const bool spec = text.find("-Spec-") != std::string::npos;
    const std::size_t dash = text.rfind('-');
    if ((!nist && !spec) || dash == std::string::npos || dash + 1 >= text.size())
        return link;
    long long index = 0;
    for (std::size_t i = dash + 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return link;
        index = index * 10 + (text[i] - '0');
        if (index > INT_MAX)
            return link;
    }
    link.Kind = nist ? CPeakLink::Nist : CPeakLink::Spec;
    link.Side = text[0] - '0';
    link.Peak = static_cast<int>(index);
    return link;
}

} // namespace corvelin
