#include "TakeWatcher.h"

#include "util/Message.h"

#include <sstream>

namespace qvn::host {

void TakeWatcher::handleMessage(mvk::util::Message& message, bool) {
    if (message.id != mvk::qvn::MessageTakeFinished || message.data == 0)
        return;
    reports.push_back(*reinterpret_cast<const mvk::qvn::TakeReport*>(message.data));
    if (out != nullptr)
        *out << describe(static_cast<int>(reports.size()), reports.back()) << "\n";
    if (onTake)
        onTake(reports.back());
}

std::string TakeWatcher::describe(int number, const mvk::qvn::TakeReport& take) {
    std::ostringstream text;
    text << "take " << number << ": " << take.samples << " samples";
    if (take.samples > 0)
        text << " from " << take.firstSampleTime << " s to " << take.lastSampleTime << " s";
    text << ", " << take.lateSamples << " caught up late, largest lag " << take.maxLagMilliseconds
         << " ms";
    return text.str();
}

} // namespace qvn::host
