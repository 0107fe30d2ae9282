#pragma once
// Recording and resimulation: the record clock, the countdown and the slow-motion factor.
#include "core/CoreSubSystem.h"

#include <cstdint>

namespace mvk::qvn::core {

class RecordManager : public CoreSubSystem {
public:
    explicit RecordManager(CoreImplementation* core);
    ~RecordManager() override;

    bool isRecording() const { return recording; }
    bool isResimulating() const { return resimulating; }
    // 0, or 71 when a recording already runs.
    int32_t startRecording();
    int32_t stopRecording();
    void finishResimulation();

    // The slow-motion step: floor(log2(factor) + 0.001) + 1.
    int32_t getSlowMotion() const;
    // The factor becomes 2^(step - 1); steps below 1 count as 1.
    void setSlowMotion(int32_t step);
    double getSlowMotionFactor() const { return slowMotionFactor; }

private:
    bool recording = false;
    bool resimulating = false;
    double slowMotionFactor = 1.0;
};

} // namespace mvk::qvn::core
