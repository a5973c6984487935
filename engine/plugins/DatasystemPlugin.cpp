#include "engine/plugins/DatasystemPlugin.h"

#include <cctype>

namespace corvelin {

bool EndsWithNoCase(const std::string& text, const std::string& ending) noexcept
{
    if (ending.size() > text.size())
        return false;
    const std::size_t offset = text.size() - ending.size();
    for (std::size_t i = 0; i < ending.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[offset + i]);
        const auto b = static_cast<unsigned char>(ending[i]);
        if (std::tolower(a) != std::tolower(b))
            return false;
    }
    return true;
}

CDatasystemPlugin::CDatasystemPlugin(std::string modulePath, bool showMessages) : PDLL(std::move(modulePath))
{
    Load(showMessages);
}

CDatasystemPlugin::~CDatasystemPlugin() = default;

bool CDatasystemPlugin::MatchesExtension(const std::string& path) const noexcept
{
    return EndsWithNoCase(path, Extension);
}

} // namespace corvelin
