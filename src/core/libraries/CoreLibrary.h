#pragma once
// The internal library "Core": the built-in tools.
#include "core/libraries/Library.h"
#include "util/Singleton.h"

namespace mvk::qvn::core {

class CoreLibrary : public util::Singleton<CoreLibrary>, public Library {
public:
    CoreLibrary();
    ~CoreLibrary() override;

    // Both the collector and the library manager end it through destroy().
    void destroy() override { util::Singleton<CoreLibrary>::destroy(); }

    // Registers the built-in tools: the template plug-ins "template", "PRM", "PRS" and "PRC",
    // then the group plug-in.
    void registerBuiltInTools();
};

} // namespace mvk::qvn::core
