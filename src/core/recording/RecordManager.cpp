#include "core/recording/RecordManager.h"

#include "core/CoreImplementation.h"
#include "core/Hooks.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/recording/ResimulateWindow.h"
#include "core/windows/CountDownWindow.h"
#include "gui/Component.h"
#include "gui/componentinterface/CheckBox.h"
#include "platform/TickCount.h"
#include "sdk/CoreInterface.h"
#include "sdk/CoreNode.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/WinDriver.h"
#include "util/Log.h"
#include "util/Message.h"

#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace mvk::qvn::core {

namespace {

// floor(time / dt) as a sample index (floor also below zero); 0 for a host without a usable
// sample interval, so such a host gets no samples rather than undefined arithmetic.
int32_t sampleIndex(double time, double dt) {
    if (!(dt > 0.0))
        return 0;
    const double index = std::floor(time / dt);
    if (!std::isfinite(index))
        return 0;
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max() - 1;
    return static_cast<int32_t>(std::clamp(index, lowest, highest));
}

// Wall-clock milliseconds between two tick counts; the counter wraps like the system's.
double elapsedMilliseconds(uint32_t from, uint32_t to) {
    return static_cast<uint32_t>(to - from);
}

} // namespace

RecordManager::RecordManager(CoreImplementation* core) : CoreSubSystem(core) {
    util::Log section("Constructing Record manager Core subsystem", util::Log::Notice);
}

RecordManager::~RecordManager() {
    util::Log section("DeInitializing Record manager Core subsystem", util::Log::Notice);
    TimerManager::service().removeTimer(this, RecordTimerId);
    util::destroy(resimulateWindow);
    if (countDown)
        countDown->hide();
}

HostAdaptor* RecordManager::host() const {
    CoreImplementation* core = getCore();
    return core != nullptr ? core->getAdaptor() : nullptr;
}

// ---- Starting ---------------------------------------------------------------------------------

int32_t RecordManager::startRecording() {
    if (recording)
        return ResultRecordingRunning;
    HostAdaptor* adaptor = host();
    if (adaptor == nullptr)
        return ResultOk;
    util::Log section("Start recording", util::Log::Notice);
    // A missing box counts as reduced display switched off.
    if (mainWindowCheckBox(ReducedDisplayCheckBox).value_or(false))
        reduceDisplay(*adaptor);
    adaptor->beginHold("Record");
    recording = true;
    take = TakeReport{};
    startTime = adaptor->getTime();
    double rangeStart = 0.0;
    adaptor->getRange(rangeStart, rangeEnd);
    recordTime = adaptor->getTime();
    Hooks::setCapture(true);
    prepareRecording(orderedRecordList(), startTime);
    startClock(*adaptor, section);
    section.write("Updating record mode");
    getCore()->updateRecordMode();
    savedLogThreshold = util::Log::threshold();
    util::Log::setLevel(util::Log::Error);
    return ResultOk;
}

// Winds the record clock back by the countdown, puts the host at the start time and starts the
// record timer.
void RecordManager::startClock(HostAdaptor& adaptor, util::Log& section) {
    lastTick = platform::tickCount();
    const double dt = adaptor.getSampleInterval();
    currentSample = sampleIndex(startTime + 0.001, dt);
    const int32_t countdownSeconds = getCore()->getSettings().countdownSeconds();
    recordTime = startTime - countdownSeconds;
    adaptor.setSlowdown(static_cast<int32_t>(slowMotionFactor));
    // A countdown installed beforehand is used as it is.
    if (!countDown)
        countDown = std::make_unique<CountDownWindow>();
    if (countdownSeconds != 0) {
        section.write("starting countdowntimer");
        if (countDown)
            countDown->start(countdownSeconds);
    }
    section.write("setting start time");
    adaptor.setTime(startTime);
    section.write("Starting timer");
    armTimer(dt);
}

std::vector<Instance*> RecordManager::orderedRecordList() const {
    std::vector<Instance*> ticked = getCore()->checkedInstances();
    InterfaceList interfaces(ticked.begin(), ticked.end());
    util::ReturnValue<InterfaceList> holder(interfaces);
    host()->orderInstances(holder);
    // The host may only reorder: what it did not get from us, or names twice, is dropped.
    std::vector<Instance*> ordered;
    for (CInterface* entry : interfaces) {
        const auto found = std::find_if(ticked.begin(), ticked.end(), [entry](Instance* instance) {
            return static_cast<CInterface*>(instance) == entry;
        });
        if (found == ticked.end())
            continue;
        ordered.push_back(*found);
        ticked.erase(found);
    }
    return ordered;
}

void RecordManager::prepareRecording(std::vector<Instance*> instances, double time) {
    util::Log section("Preparing recording", util::Log::Notice);
    recordList = std::move(instances);
    recordListWatcher.watch();
    section.write("Activating unidevice");
    unidevice::DeviceHandler* devices = unidevice::DeviceHandler::instance();
    if (auto* windows = dynamic_cast<unidevice::WinDriver*>(devices->driver("windriver")))
        windows->setParam(mainWindowHandle());
    devices->activateAll();
    section.write("initalizing plugins");
    for (size_t i = 0; i < recordList.size(); ++i)
        recordList[i]->beginRecording(time, resimulating);
    section.write("Initialize complete");
}

// ---- The clock --------------------------------------------------------------------------------

void RecordManager::onTimer(int32_t timerId, uint32_t tickCount) {
    if (timerId != RecordTimerId || !recording || resimulating)
        return;
    HostAdaptor* adaptor = host();
    if (adaptor == nullptr)
        return;
    TimerManager::service().removeTimer(this, RecordTimerId);
    recordTime += elapsedMilliseconds(lastTick, tickCount) * 0.001 / slowMotionFactor;
    lastTick = tickCount;
    const double dt = adaptor->getSampleInterval();
    sampleUpTo(sampleIndex(recordTime, dt) + 1, dt);
    // Stopped at the range end (or by a sample): the stop has done the rest.
    if (!recording)
        return;
    if (startTime > recordTime && countDown)
        countDown->update(std::to_string(static_cast<int64_t>(startTime - recordTime + 0.999)));
    adaptor->setTime(recordTime);
    const double next = dt - elapsedMilliseconds(tickCount, platform::tickCount()) / 1000.0;
    armTimer(next <= 0.0 ? 0.001 : next);
}

void RecordManager::sampleUpTo(int32_t target, double dt) {
    // The counter stands still until the record clock has passed the start time. Moving it on
    // during the pre-roll would use up the first sample after an off-grid start (or a tick that
    // lands exactly on the start) without recording it, so the first key would come up to two
    // intervals late, and a stop during the countdown would leave the host past the start.
    if (!(recordTime > startTime))
        return;
    int recordedThisTick = 0;
    for (int i = 0; i < MaxSamplesPerTick && currentSample < target && recording; ++i) {
        ++currentSample;
        const double sampleTime = currentSample * dt;
        if (recordTime >= rangeEnd && !expandRange()) {
            stopRecording();
            return;
        }
        if (countDown)
            countDown->hide();
        recordSample(sampleTime);
        noteSample(sampleTime, ++recordedThisTick);
    }
}

bool RecordManager::expandRange() {
    // A missing auto-expand box never stops a recording.
    if (!mainWindowCheckBox(AutoExpandCheckBox).value_or(true))
        return false;
    rangeEnd *= 2.0;
    HostAdaptor* adaptor = host();
    double rangeStart = 0.0;
    double currentEnd = 0.0;
    adaptor->getRange(rangeStart, currentEnd);
    adaptor->setRange(rangeStart, rangeEnd);
    return true;
}

// The tick re-arms itself for the time left until the next sample, rounded up to whole
// milliseconds and never 0, so the GUI thread sleeps between samples instead of spinning. The
// samples themselves do not depend on it: each tick measures the wall clock.
void RecordManager::armTimer(double seconds) {
    // Rounding dust (0.02 - 0.007 is a hair above 0.013) must not add a whole millisecond.
    const double milliseconds = std::max(1.0, std::ceil(seconds * 1000.0 - 1e-6));
    TimerManager::service().addTimer(this, RecordTimerId, milliseconds);
}

void RecordManager::recordSample(double sampleTime) {
    unidevice::DeviceHandler::instance()->updateAll();
    // By index: an instance that goes away meanwhile leaves the list.
    for (size_t i = 0; i < recordList.size(); ++i)
        recordList[i]->recordSample(sampleTime, resimulating);
}

void RecordManager::noteSample(double sampleTime, int samplesThisTick) {
    if (take.samples == 0)
        take.firstSampleTime = sampleTime;
    take.lastSampleTime = sampleTime;
    ++take.samples;
    if (samplesThisTick > 1)
        ++take.lateSamples;
    const double lag = (recordTime - sampleTime) * slowMotionFactor * 1000.0;
    take.maxLagMilliseconds = std::max(take.maxLagMilliseconds, lag);
}

// ---- Stopping ---------------------------------------------------------------------------------

int32_t RecordManager::stopRecording() {
    if (!recording || resimulating)
        return ResultOk;
    util::Log::setLevel(savedLogThreshold);
    util::Log section("Stop recording", util::Log::Notice);
    if (countDown)
        countDown->hide();
    TimerManager::service().removeTimer(this, RecordTimerId);
    if (startTime > recordTime)
        recordTime = startTime;
    HostAdaptor* adaptor = host();
    const double dt = adaptor->getSampleInterval();
    finishRecording(currentSample * dt);
    adaptor->setTime(currentSample * dt);
    adaptor->setSlowdown(1);
    recording = false;
    getCore()->updateRecordMode();
    adaptor->onRecordingDone();
    Hooks::setCapture(false);
    // What the start switched is switched back even if the box was unticked meanwhile.
    if (displayReduced)
        restoreDisplay(*adaptor);
    adaptor->acceptHold();
    reportTake();
    return ResultOk;
}

// ---- Reduced display --------------------------------------------------------------------------

namespace {

NodeList allNodes(HostAdaptor& adaptor) {
    NodeList nodes;
    util::ReturnValue<NodeList> holder(nodes);
    adaptor.getAllNodes(holder);
    return nodes;
}

} // namespace

void RecordManager::reduceDisplay(HostAdaptor& adaptor) {
    savedNodeState.clear();
    for (CoreNode* node : allNodes(adaptor))
        if (node != nullptr)
            savedNodeState[node] = {node->getName(), node->getDisplayState()};
    displayReduced = true;
    if (InstanceReference* root = getCore()->getRoot()) {
        root->showNodes(true);
        root->showNodesInFull(false);
    }
    adaptor.redrawViews();
}

void RecordManager::restoreDisplay(HostAdaptor& adaptor) {
    // Only nodes the host still has: one deleted during the take is gone, and one made during
    // it has no earlier state.
    for (CoreNode* node : allNodes(adaptor)) {
        const auto saved = savedNodeState.find(node);
        if (saved != savedNodeState.end() && saved->second.first == node->getName())
            node->setDisplayState(saved->second.second);
    }
    savedNodeState.clear();
    displayReduced = false;
    adaptor.redrawViews();
}

void RecordManager::finishRecording(double lastSampleTime) {
    util::Log section("finishing recording", util::Log::Notice);
    section.write("finishing plugins");
    for (size_t i = 0; i < recordList.size(); ++i)
        recordList[i]->endRecording(lastSampleTime, resimulating);
    section.write("Deactivating unidevice");
    unidevice::DeviceHandler::instance()->deactivateAll();
}

void RecordManager::reportTake() {
    util::Message message(MessageTakeFinished, 0, reinterpret_cast<intptr_t>(&take));
    getCore()->broadcastFrom(message);
    getCore()->MainDlg::noteTake(take);
}

// ---- Resimulation -----------------------------------------------------------------------------

void RecordManager::resimulate(double from, double to) {
    HostAdaptor* adaptor = host();
    if (recording || adaptor == nullptr)
        return;
    const double fps = adaptor->getFrameRate();
    if (!(fps > 0.0) || !std::isfinite(fps)) {
        util::Log::instance()->write("Cannot resimulate without a frame rate", util::Log::Error);
        return;
    }
    util::Log section("Resimulating", util::Log::Notice);
    adaptor->beginHold("Resimulating");
    recording = true;
    resimulating = true;
    startTime = from;
    rangeEnd = to;
    resimulationFrame = 1;
    resimulationTime = resimulationFrameTime(resimulationFrame, 1.0 / fps);
    progress = 0.0F;
    savedSlowMotionFactor = slowMotionFactor;
    slowMotionFactor = 1.0;
    getCore()->updateSlowMotion();
    prepareRecording(orderedRecordList(), from);
    savedLogThreshold = util::Log::threshold();
    lastTick = platform::tickCount();
    if (resimulateWindow == nullptr)
        resimulateWindow = new ResimulateWindow(*this);
    const double interval = adaptor->getSampleInterval();
    const double startFrame = interval > 0.0 ? std::floor(from / interval) : 0.0;
    resimulateWindow->open(static_cast<float>(startFrame));
    util::Log::setLevel(savedLogThreshold);
}

// A take keys sample n at n × interval. When the range starts on that grid the frames are
// counted from the grid's origin, so each lands on exactly the time a take keyed, not a rounding
// step beside it (which would give the host a second key next to every recorded one).
double RecordManager::resimulationFrameTime(int64_t index, double dt) const {
    const double onGrid = std::round(startTime / dt);
    if (std::isfinite(onGrid) &&
        std::abs(startTime - onGrid * dt) <= 1e-9 * std::max(1.0, std::abs(startTime)))
        return (onGrid + static_cast<double>(index)) * dt;
    return startTime + static_cast<double>(index) * dt;
}

bool RecordManager::resimulateStep() {
    HostAdaptor* adaptor = host();
    if (adaptor == nullptr)
        return true;
    const double dt = 1.0 / adaptor->getFrameRate();
    const uint32_t sliceStart = platform::tickCount();
    const double length = rangeEnd - startTime;
    while (rangeEnd + 0.00001 > resimulationTime) {
        progress =
            length > 0.0 ? static_cast<float>((resimulationTime - startTime) / length) : 0.0F;
        if (elapsedMilliseconds(sliceStart, platform::tickCount()) > 500)
            return false;
        // By index: an instance that goes away meanwhile leaves the list.
        for (size_t i = 0; i < recordList.size(); ++i)
            recordList[i]->recordSample(resimulationTime, true);
        resimulationTime = resimulationFrameTime(++resimulationFrame, dt);
    }
    progress = 1.0F;
    return true;
}

void RecordManager::finishResimulation() {
    if (!resimulating)
        return;
    util::Log::setLevel(savedLogThreshold);
    for (size_t i = 0; i < recordList.size(); ++i)
        recordList[i]->endRecording(rangeEnd, true);
    recording = false;
    resimulating = false;
    slowMotionFactor = savedSlowMotionFactor;
    getCore()->updateSlowMotion();
    unidevice::DeviceHandler::instance()->deactivateAll();
    if (HostAdaptor* adaptor = host()) {
        adaptor->onRecordingDone();
        adaptor->acceptHold();
        adaptor->setTime(adaptor->getTime());
    }
    if (resimulateWindow != nullptr)
        resimulateWindow->close();
}

void RecordManager::RecordListWatcher::watch() {
    while (sourceCount() > 0)
        unsubscribe(source(0));
    for (Instance* instance : list)
        subscribe(instance);
}

void RecordManager::RecordListWatcher::handleMessage(util::Message& message, bool) {
    if (message.id != util::Message::Destroying)
        return;
    const auto gone = std::find_if(list.begin(), list.end(), [&message](Instance* instance) {
        return static_cast<util::MessageNode*>(instance) == message.sender;
    });
    if (gone != list.end())
        list.erase(gone);
}

// ---- Slow motion ------------------------------------------------------------------------------

int32_t RecordManager::getSlowMotion() const {
    return static_cast<int32_t>(std::floor(std::log2(slowMotionFactor) + 0.001)) + 1;
}

void RecordManager::setSlowMotion(int32_t step) {
    // A resimulation runs at factor 1 and puts the factor it saved back when it ends; a step
    // taken meanwhile would be overwritten then, so it is refused and the display keeps showing
    // the factor in effect.
    if (resimulating)
        return;
    if (step < 1)
        step = 1;
    if (step > 31)
        step = 31;
    slowMotionFactor = std::ldexp(1.0, step - 1);
    HostAdaptor* adaptor = recording && !resimulating ? host() : nullptr;
    if (adaptor != nullptr)
        adaptor->setSlowdown(static_cast<int32_t>(slowMotionFactor));
}

// ---- Collaborators ----------------------------------------------------------------------------

void RecordManager::setCountDown(std::unique_ptr<CountDown> replacement) {
    countDown = std::move(replacement);
}

void RecordManager::setCheckBoxLookup(CheckBoxLookup lookup) {
    checkBoxLookup = std::move(lookup);
}

std::optional<bool> RecordManager::mainWindowCheckBox(int32_t id) const {
    if (checkBoxLookup)
        return checkBoxLookup(id);
    gui::Component* window = getCore()->getMainWindow();
    gui::Component* component = window != nullptr ? window->findById(id) : nullptr;
    auto* box = gui::interfaceOf<gui::componentinterface::CheckBox>(component);
    if (box == nullptr)
        return std::nullopt;
    return box->isChecked();
}

// The native window of the main window; 0 while it has none (it was never shown). Only an
// existing one is handed over: making one here would fix the window's native state before the
// main dialog sets it up for showing.
uintptr_t RecordManager::mainWindowHandle() const {
    gui::Component* window = getCore()->getMainWindow();
    QWidget* widget = window != nullptr ? window->getWidget() : nullptr;
    return widget != nullptr ? static_cast<uintptr_t>(widget->window()->internalWinId()) : 0;
}

} // namespace mvk::qvn::core
