// Loads a core library through the reference host, creates one instance of a tool and reports
// what the instance made: its name, the host nodes owned by instances and the named input
// properties. Used on an installed tree with modules that were built against the installed SDK.
//
//   sdk_instance_probe <core library> <tool name> [<property name>...]
#include "CoreModule.h"
#include "RefHost.h"
#include "sdk/CInterface.h"
#include "sdk/CProperty.h"

#include <iostream>
#include <string>

namespace {

// The host nodes that belong to instances, with the named properties of their owners.
void printInstanceNodes(const qvn::host::RefHost& host, int argc, char** argv) {
    for (qvn::host::RefNode* node : host.scene.nodes()) {
        mvk::qvn::CInterface* owner = node->owner();
        if (owner == nullptr)
            continue;
        std::cout << "node \"" << node->getName() << "\"\n";
        for (int i = 3; i < argc; ++i) {
            if (const mvk::qvn::CProperty* property = owner->getProperty(argv[i]))
                std::cout << "property \"" << property->getName() << "\" = " << property->value()
                          << "\n";
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: sdk_instance_probe CORE TOOL [PROPERTY...]\n";
        return 2;
    }
    qvn::host::CoreModule core;
    if (!core.load(argv[1])) {
        std::cerr << core.error() << "\n";
        return 1;
    }
    qvn::host::RefHost host;
    mvk::qvn::CoreInterface* coreInterface = core.attach(&host);
    if (coreInterface == nullptr) {
        std::cerr << "attach refused\n";
        return 1;
    }
    const std::string instance = coreInterface->createInstance(argv[2]);
    std::cout << "created \"" << instance << "\"\n";
    // Nodes left by an instance that failed to start may name an owner that is gone.
    if (!instance.empty())
        printInstanceNodes(host, argc, argv);
    core.detach(coreInterface);
    return instance.empty() ? 1 : 0;
}
