// qorhost: runs a publication file against the plug-in, as the host would.
//   qorhost.exe PUBLICATION [PLUGIN]
#include <iostream>

#include "HostEmulator.h"
#include "Publication.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: qorhost PUBLICATION [PLUGIN]\n";
        return 2;
    }
    qorhost::HostEmulator host;
    const std::string plugin = argc > 2 ? argv[2] : qorhost::HostEmulator::DefaultPluginPath();
    if (!host.Load(plugin)) {
        std::cerr << "cannot load " << plugin << "\n";
        return 1;
    }
    host.onOtherScriptLine = [](const std::string& line) { std::cout << "script: " << line << "\n"; };
    std::cout << "loaded " << host.pluginName << ": " << host.announcements().size() << " announcements\n";
    qorhost::Publication publication(host, std::cout);
    const bool ok = publication.RunFile(argv[1]);
    host.Message(2);
    host.Unload();
    return ok ? 0 : 1;
}
