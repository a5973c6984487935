#include "tests/support/ScopedEntryReader.h"

#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"

namespace corvelin {

ScopedEntryReader::ScopedEntryReader(const std::string& modulePath)
{
    auto plugins = std::make_unique<CDatasystemPlugins>();
    auto plugin = std::make_unique<CDatasystemPlugin>(modulePath, true);
    plugin->Name = "Corvelinscope Library Entry";
    plugin->Extension = ".ChromLibEntry";
    plugins->Append(std::move(plugin));
    m_previous = SetDatasystemPlugins(std::move(plugins));
}

ScopedEntryReader::~ScopedEntryReader()
{
    SetDatasystemPlugins(std::move(m_previous));
}

} // namespace corvelin
