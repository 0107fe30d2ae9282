#pragma once
// The progress window of a resimulation: what part of the range is done, an estimate of the time
// left, and a button that cancels. Its timer drives the resimulation in slices, so the GUI stays
// responsive while a long range is re-run.
#include "core/recording/RecordManager.h"
#include "core/recording/TimerManager.h"
#include "util/DynamicObject.h"
#include "util/MessageNode.h"

#include <cstdint>
#include <string>

namespace mvk::gui {
class Component;
}

namespace mvk::qvn::core {

class RecordManager::ResimulateWindow : public util::DynamicObject,
                                        public util::MessageNode,
                                        public TimerManager {
public:
    static constexpr int32_t TimerId = 1;
    static constexpr int32_t CancelButton = 99;
    static constexpr int32_t ProgressBar = 100;
    static constexpr int32_t RangeLabel = 101;
    static constexpr int32_t CountLabel = 102;
    static constexpr int32_t TimeLeftLabel = 103;
    static constexpr int32_t CurrentFrameLabel = 104;

    explicit ResimulateWindow(RecordManager& manager);
    // Stops the timer and destroys the window component at once.
    ~ResimulateWindow() override;

    // Shows the window (built from its layout on first use) and starts the slices.
    void open(float startFrame);
    void updateText();
    // Runs one slice of the resimulation, finishing it when the range is done.
    void onTimer(int32_t timerId, uint32_t tickCount) override;
    // The cancel button finishes the resimulation with the frames done so far.
    void handleMessage(util::Message& message, bool broadcast) override;
    // Removes the timer, hides the window component and destroys it once the event being
    // handled has returned (the cancel button's click may be on the stack); the object stays for
    // the next run.
    void close();

    gui::Component* getWindow() const { return window; }

private:
    bool build();
    void setLabel(int32_t id, const std::string& text);
    void destroyRetired();

    RecordManager& manager;
    gui::Component* window = nullptr;
    // A closed window waiting for its destruction.
    gui::Component* retired = nullptr;
    float lastFrame = 0.0F;
    uint32_t lastFrameTick = 0;
    int64_t estimate = 0;
};

} // namespace mvk::qvn::core
