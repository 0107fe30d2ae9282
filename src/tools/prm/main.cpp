// quorvane-prm: pack, unpack and check template files.
#include "mathscript/MathScript_Default.h"
#include "tools/prm/PrmTool.h"
#include "util/SingletonCollector.h"

#include <iostream>

int main(int argc, char** argv) {
    MathScript_Default::registerFactories();
    mvk::qvn::tools::PrmTool tool(std::cout, std::cerr);
    const int status = tool.run(std::vector<std::string>(argv + 1, argv + argc));
    if (auto* singletons = mvk::util::SingletonCollector::existing())
        singletons->destroyAll();
    return status;
}
