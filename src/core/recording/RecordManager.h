#pragma once
// Recording and resimulation: the record clock, the countdown and the slow-motion factor.
// While a take runs, the record clock follows the wall clock divided by the slow-motion factor,
// the host's clock follows the record clock, and at every host sample interval the devices are
// polled once and every instance of the record list records the sample.
#include "core/CoreSubSystem.h"
#include "core/recording/CountDown.h"
#include "core/recording/TimerManager.h"
#include "sdk/TakeReport.h"
#include "util/MessageNode.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mvk::qvn {
class CoreNode;
class HostAdaptor;
} // namespace mvk::qvn
namespace mvk::util {
class Log;
}

namespace mvk::qvn::core {

class Instance;

class RecordManager : public CoreSubSystem, public TimerManager {
public:
    static constexpr int32_t RecordTimerId = 123;
    // At most this many samples are caught up per tick, so a slow host never blocks the GUI.
    static constexpr int MaxSamplesPerTick = 3;
    // The main window's auto-expand check box, read when a take reaches the range end.
    static constexpr int32_t AutoExpandCheckBox = 113;
    // The main window's reduced-display check box, read when a take starts and stops.
    static constexpr int32_t ReducedDisplayCheckBox = 114;
    // The state of a check box of the main window by id; nothing when it is missing.
    using CheckBoxLookup = std::function<std::optional<bool>(int32_t id)>;

    explicit RecordManager(CoreImplementation* core);
    ~RecordManager() override;

    bool isRecording() const { return recording; }
    bool isResimulating() const { return resimulating; }
    // 0, or 71 when a recording already runs (nothing changes then).
    int32_t startRecording();
    // 0; does nothing unless a take (not a resimulation) runs.
    int32_t stopRecording();

    // Re-runs the record list frame by frame from `from` (exclusive) to `to` (inclusive) through
    // the present bindings, in slices driven by the progress window. Nothing happens while a
    // take or a resimulation runs, or when the host has no usable frame rate.
    void resimulate(double from, double to);
    // One slice of at most 500 ms; true when the range is done.
    bool resimulateStep();
    // Ends the resimulation with the frames done so far: bindings back, one undo step closed.
    void finishResimulation();
    // Share of the range done, 0 to 1.
    float getResimulationProgress() const { return progress; }

    // Takes the list as the record list, activates the devices and tells every instance that
    // recording begins at `startTime`.
    void prepareRecording(std::vector<Instance*> instances, double startTime);
    // Tells every instance of the record list that recording ended, then deactivates the devices.
    void finishRecording(double lastSampleTime);
    // Polls every device once, then lets every instance of the record list record `sampleTime`.
    void recordSample(double sampleTime);
    // The record timer's tick; other ids are ignored.
    void onTimer(int32_t timerId, uint32_t tickCount) override;

    // The slow-motion step: floor(log2(factor) + 0.001) + 1.
    int32_t getSlowMotion() const;
    // The factor becomes 2^(step - 1); steps below 1 count as 1. Refused while resimulating.
    void setSlowMotion(int32_t step);
    double getSlowMotionFactor() const { return slowMotionFactor; }

    // The countdown shown before each take; the record manager owns it. Without one the first
    // take makes the countdown window.
    void setCountDown(std::unique_ptr<CountDown> countDown);
    // Where the main window's check boxes are read instead of the main window itself; a box
    // that is missing counts as absent (auto-expand on, reduced display off).
    void setCheckBoxLookup(CheckBoxLookup lookup);
    // The report of the take running now, or of the last one once it stopped.
    const TakeReport& getTakeReport() const { return take; }
    const std::vector<Instance*>& getRecordList() const { return recordList; }
    double getRecordTime() const { return recordTime; }

    class ResimulateWindow;
    // Null until the first resimulation; kept afterwards for the next one.
    ResimulateWindow* getResimulateWindow() const { return resimulateWindow; }

private:
    // Listens to the instances of the record list, so one destroyed during a take leaves it
    // instead of dangling.
    class RecordListWatcher : public util::MessageNode {
    public:
        explicit RecordListWatcher(std::vector<Instance*>& list) : list(list) {}
        void watch();
        void handleMessage(util::Message& message, bool broadcast) override;

    private:
        std::vector<Instance*>& list;
    };

    HostAdaptor* host() const;
    // The ticked instances in tree order, as the host orders them.
    std::vector<Instance*> orderedRecordList() const;
    void startClock(HostAdaptor& adaptor, util::Log& section);
    void armTimer(double seconds);
    // Catches up to `target`, at most MaxSamplesPerTick samples; may stop at the range end.
    void sampleUpTo(int32_t target, double dt);
    // Doubles the range end when auto-expand is on; false when the take must stop instead.
    bool expandRange();
    void noteSample(double sampleTime, int samplesThisTick);
    // Reduced display: the host's nodes' display state is saved, then the tools' nodes are shown
    // simplified for the take; afterwards every node still in the scene gets its state back.
    void reduceDisplay(HostAdaptor& adaptor);
    void restoreDisplay(HostAdaptor& adaptor);
    void reportTake();
    // The main window's check box `id`: ticked or not, or nothing when the window, the
    // component or its check box is missing.
    std::optional<bool> mainWindowCheckBox(int32_t id) const;
    uintptr_t mainWindowHandle() const;

    // The frame `index` frames after the start of the resimulation; counted rather than summed,
    // so a long range stays on the host's frame grid.
    double resimulationFrameTime(int64_t index, double dt) const;

    // By node, with the node's name: a node made during the take may reuse a deleted one's
    // address.
    std::map<CoreNode*, std::pair<std::string, uint64_t>> savedNodeState;
    bool displayReduced = false;
    std::unique_ptr<CountDown> countDown;
    ResimulateWindow* resimulateWindow = nullptr;
    CheckBoxLookup checkBoxLookup;
    double slowMotionFactor = 1.0;
    int32_t savedLogThreshold = 3;
    double startTime = 0.0;
    double rangeEnd = 0.0;
    std::vector<Instance*> recordList;
    RecordListWatcher recordListWatcher{recordList};
    uint32_t lastTick = 0;
    int32_t currentSample = 0;
    double recordTime = 0.0;
    bool recording = false;
    bool resimulating = false;
    double resimulationTime = 0.0;
    int64_t resimulationFrame = 0;
    float progress = 0.0F;
    double savedSlowMotionFactor = 1.0;
    TakeReport take;
};

} // namespace mvk::qvn::core
