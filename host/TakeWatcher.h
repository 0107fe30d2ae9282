#pragma once
// The reference host's ear for finished takes: subscribes to the core's node, keeps every take
// report and prints each one as it arrives.
#include "sdk/TakeReport.h"
#include "util/MessageNode.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace qvn::host {

class TakeWatcher : public mvk::util::MessageNode {
public:
    // Prints to `out` when given; keeps the reports either way.
    explicit TakeWatcher(std::ostream* out = nullptr) : MessageNode("TakeWatcher"), out(out) {}
    // Starts listening to `core` (the core's node); false when it cannot subscribe.
    bool watch(mvk::util::MessageNode& core) { return subscribe(&core); }

    void handleMessage(mvk::util::Message& message, bool broadcast) override;

    const std::vector<mvk::qvn::TakeReport>& takes() const { return reports; }
    // Called with every report as it arrives, after it was kept.
    std::function<void(const mvk::qvn::TakeReport&)> onTake;
    // One line: "take N: S samples from F s to L s, C caught up late, largest lag M ms".
    static std::string describe(int number, const mvk::qvn::TakeReport& take);

private:
    std::ostream* out;
    std::vector<mvk::qvn::TakeReport> reports;
};

} // namespace qvn::host
