// A test-only plug-in that exports nothing but IsMassSpecsFileReadable (accepting every file): every other
// entry point is missing.
#include "engine/plugins/PluginInterface.h"

using namespace corvelin;

CORVELIN_PLUGIN_EXPORT int IsMassSpecsFileReadable(const char* /*path*/)
{
    return 1;
}
