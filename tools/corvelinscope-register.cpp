// corvelinscope-register: adds, removes and lists data-system plug-in registrations in the machine-wide
// "Plugins" section of the settings store that the programs in this folder use, and checks that the registered
// modules load the way the programs load them.
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/Exceptions.h"
#include "engine/options/ProgramSettingsStore.h"
#include "engine/platform/ProgramFolder.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/PluginRegistration.h"
#include "engine/views/ColorSchemeDefaults.h"

using namespace corvelin;

namespace {

int Usage()
{
    std::fputs("usage: corvelinscope-register add <key> --name <display name> --path <module>\n"
               "                              [--extension <.ext>] [--filter <description|pattern>]\n"
               "       corvelinscope-register remove <key>\n"
               "       corvelinscope-register list\n"
               "       corvelinscope-register check   (loads every registered module; 1 when one fails)\n"
               "       corvelinscope-register color-schemes   (installs the default colour schemes when none\n"
               "                                               is defined; a lab's own schemes stay)\n"
               "A relative module path is taken relative to the folder of the programs.\n",
               stderr);
    return 2;
}

int Add(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    PluginRegistration reg;
    reg.Key = argv[2];
    for (int i = 3; i < argc; i += 2) {
        if (i + 1 >= argc)
            return Usage();
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--name")
            reg.Name = value;
        else if (option == "--path")
            reg.Path = value;
        else if (option == "--extension")
            reg.Extension = value;
        else if (option == "--filter")
            reg.Filter = value;
        else
            return Usage();
    }
    if (reg.Key.empty() || reg.Name.empty() || reg.Path.empty())
        return Usage();
    const int slot = RegisterPlugin(reg);
    std::printf("Plugin%d = %s (%s)\n", slot, reg.Key.c_str(), reg.Path.c_str());
    return 0;
}

// Builds the plug-in list as the programs do at start-up and reports each plug-in.
int Check()
{
    try {
        const auto plugins = CDatasystemPlugins::LoadFromRegistration(ProgramFolder());
        int failed = 0;
        for (int i = 0; i < plugins->GetCount(); ++i) {
            const CDatasystemPlugin* p = plugins->GetPlugin(i);
            std::printf("%s: %s (%s)\n", p->Name.c_str(), p->HasModule() ? "loaded" : "NOT LOADED",
                        p->GetModulePath().c_str());
            if (!p->HasModule()) {
                std::printf("  %s\n", p->GetLoadError().c_str());
                ++failed;
            }
        }
        return failed == 0 ? 0 : 1;
    } catch (const CUserException&) {
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "add")
        return Add(argc, argv);
    if (command == "remove" && argc == 3) {
        if (!UnregisterPlugin(argv[2])) {
            std::fprintf(stderr, "corvelinscope-register: '%s' is not registered\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (command == "list" && argc == 2) {
        if (auto* store = dynamic_cast<CProgramSettingsStore*>(&Settings()))
            std::printf("Settings: %s\n", store->UseIniSettings() ? store->SettingsIniPath().c_str() : "registry");
        for (const PluginRegistration& reg : ReadPluginRegistrations())
            std::printf("Plugin%d = %s: \"%s\" Path=%s Extension=%s Filter=%s%s\n", reg.Slot, reg.Key.c_str(),
                        reg.Name.c_str(), reg.Path.c_str(), reg.Extension.c_str(), reg.Filter.c_str(),
                        reg.Load ? "" : " (not loaded)");
        return 0;
    }
    if (command == "check" && argc == 2)
        return Check();
    if (command == "color-schemes" && argc == 2) {
        if (InstallDefaultColorSchemes(Settings()))
            std::printf("Installed %zu default colour schemes\n", DefaultColorSchemes().size());
        return 0;
    }
    return Usage();
}
