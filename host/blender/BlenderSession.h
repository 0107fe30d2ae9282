#pragma once
// One core attached to Blender: loads the core library, attaches it with the Blender adaptor,
// pumps it, and carries the add-on's requests (files, undo, recording, keys) to it.
#include "BlenderHost.h"
#include "CoreModule.h"
#include "TakeWatcher.h"
#include "sdk/CoreInterface.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace qvn::host::blender {

class BlenderSession {
public:
    BlenderSession();
    ~BlenderSession();
    BlenderSession(const BlenderSession&) = delete;
    BlenderSession& operator=(const BlenderSession&) = delete;

    // Loads the core library at `corePath` and attaches; false with error() set when the library
    // is missing, speaks another interface or refuses the adaptor.
    bool attach(const std::string& corePath);
    // Detaches; nothing when not attached.
    void detach();
    // Blender is quitting and has already freed its data: detach without touching it.
    void detachAtExit();
    bool isAttached() const { return core != nullptr; }
    const std::string& error() const { return lastError; }

    // One turn of the host's loop: the core's events and timers, then the keys they wrote.
    // Returns QVNB_BUSY_* flags.
    int pump();

    // The scene tag of every instance, as the .blend file stores it.
    std::string saveScene();
    // Another file replaces the scene. The core keeps no way to empty its instance tree and
    // start a new one, so a new file gets a fresh core, as a fresh Blender would: the core is
    // detached before the load and attached again after it, the main dialog reopened if it was
    // open, and the file's stored scene tag (may be empty) loaded.
    void beforeLoad();
    bool afterLoad(const std::string& text);
    // Creates the instances a stored scene tag describes; false when it holds none.
    bool loadScene(const std::string& text);
    void afterUndo();
    void afterRedo();

    int32_t startRecording();
    int32_t stopRecording();
    void resimulate(double start, double end);

    mvk::qvn::CoreInterface* interface() const { return core; }
    BlenderHost& host() { return adaptor; }
    const TakeWatcher& takeReports() const { return takes; }
    // Seconds of each take's time that no sample covers: the core catches up only a few samples
    // per turn, so a loop much slower than the frame rate leaves the end of a take unsampled.
    double lostSeconds(size_t take) const { return take < lost.size() ? lost[take] : 0.0; }

private:
    bool loadModule(const std::string& corePath);
    void followRecording();
    void reportNewTakes();

    // The core library stays loaded for the rest of the process once loaded: Qt keeps pointers
    // to the types it registered, so unloading it would leave Qt pointing into freed code.
    static CoreModule& module();
    static std::string& modulePath();

    BlenderHost adaptor;
    TakeWatcher takes;
    std::vector<double> lost;
    size_t reportedTakes = 0;
    bool reattach = false;
    bool reopenMainDialog = false;
    bool recording = false;
    bool resimulating = false;
    bool insideResimulate = false;
    // When the running take started, and when the turn or the call that stopped it began (the
    // keys written at the stop are no part of the take's time).
    std::chrono::steady_clock::time_point recordingSince;
    std::chrono::steady_clock::time_point stoppingSince;
    mvk::qvn::CoreInterface* core = nullptr;
    std::string lastError;
};

} // namespace qvn::host::blender
