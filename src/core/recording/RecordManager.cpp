#include "core/recording/RecordManager.h"

#include "core/CoreImplementation.h"
#include "sdk/CoreInterface.h"
#include "util/Log.h"

#include <cmath>

namespace mvk::qvn::core {

RecordManager::RecordManager(CoreImplementation* core) : CoreSubSystem(core) {
    util::Log section("Constructing Record manager Core subsystem", util::Log::Notice);
}

RecordManager::~RecordManager() {
    util::Log section("DeInitializing Record manager Core subsystem", util::Log::Notice);
}

int32_t RecordManager::startRecording() {
    if (recording)
        return ResultRecordingRunning;
    return ResultOk;
}

int32_t RecordManager::stopRecording() {
    recording = false;
    return ResultOk;
}

void RecordManager::finishResimulation() { resimulating = false; }

int32_t RecordManager::getSlowMotion() const {
    return static_cast<int32_t>(std::floor(std::log2(slowMotionFactor) + 0.001)) + 1;
}

void RecordManager::setSlowMotion(int32_t step) {
    if (step < 1)
        step = 1;
    if (step > 31)
        step = 31;
    slowMotionFactor = std::ldexp(1.0, step - 1);
    CoreImplementation* core = getCore();
    if (core != nullptr && recording && !resimulating && core->getAdaptor() != nullptr)
        core->getAdaptor()->setSlowdown(static_cast<int32_t>(slowMotionFactor));
}

} // namespace mvk::qvn::core
