#pragma once
// The recording part of the scripted session: a camera bound to the simulated gamepad records a
// take in real time; the take is written out as a table and a plot, undone and redone through
// the host, and its recorded curves are kept for a reload in a fresh attach.
#include "CoreModule.h"
#include "DemoScreenshots.h"
#include "RefHost.h"
#include "TakeWatcher.h"
#include "sdk/CoreInterface.h"

#include <map>
#include <ostream>
#include <string>

namespace qvn::host {

class DemoTake {
public:
    static constexpr const char* CameraName = "Take Camera_01";

    DemoTake(mvk::qvn::CoreInterface& core, RefHost& host, TakeWatcher& takes, std::ostream& out,
             std::string outputFolder)
        : core(core), host(host), takes(takes), out(out), output(std::move(outputFolder)) {}
    // Returns false when a step did not do what it should.
    bool run();
    // Where the countdown shown before the take is pictured; none by default.
    void pictureCountdown(DemoScreenshots* screenshots) { countdownShots = screenshots; }
    // Attaches `module` afresh, loads `sceneText` and checks that the take camera's recorded
    // curves come back byte for byte; detaches again.
    static bool reloadInFreshAttach(const CoreModule& module, RefHost& host,
                                    const std::string& sceneText, std::ostream& out);

private:
    bool loadBoundCamera();
    void recordTake(double seconds);
    bool writeTable() const;
    bool writePlot() const;
    bool undoAndRedo();
    // Reloads the camera with the pan multiplier doubled, resimulates the take and plots the
    // camera before and after.
    bool resimulateSteeperPan();
    bool reloadWithPanMultiplier(const std::string& multiplier);
    bool writeResimulationPlot(const std::map<double, Matrix>& before) const;

    mvk::qvn::CoreInterface& core;
    RefHost& host;
    TakeWatcher& takes;
    std::ostream& out;
    std::string output;
    DemoScreenshots* countdownShots = nullptr;
};

} // namespace qvn::host
