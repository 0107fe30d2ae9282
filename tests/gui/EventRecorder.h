#pragma once
#include "util/MessageNode.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace guitest {

// A window stand-in: records the (code, parameter) of every component event it receives.
class EventRecorder : public mvk::util::MessageNode {
public:
    void handleMessage(mvk::util::Message& message, bool) override {
        if (message.id >= 0x4000 && message.id < 0x4380)
            events.emplace_back(message.id, message.param);
    }
    bool received(int32_t code, int32_t param) const {
        for (const auto& event : events)
            if (event == std::pair{code, param})
                return true;
        return false;
    }
    std::vector<std::pair<int32_t, int32_t>> events;
};

} // namespace guitest
