#include "BlenderSession.h"

#include "BlenderScene.h"
#include "platform/FileSystem.h"
#include "platform/ShellFolders.h"
#include "util/xml/Element.h"

#include <QGuiApplication>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace qvn::host::blender {

BlenderSession::BlenderSession() = default;

BlenderSession::~BlenderSession() {
    detach();
}

CoreModule& BlenderSession::module() {
    static CoreModule* loaded = new CoreModule;
    return *loaded;
}

std::string& BlenderSession::modulePath() {
    static std::string path;
    return path;
}

bool BlenderSession::loadModule(const std::string& corePath) {
    if (module().isLoaded()) {
        std::error_code ignored;
        if (modulePath() == corePath || std::filesystem::equivalent(modulePath(), corePath, ignored))
            return true;
        lastError = "this Blender already runs the core library " + modulePath() +
                    " (a core stays loaded once loaded); restart Blender to use " + corePath;
        return false;
    }
    if (!module().load(corePath)) {
        lastError = module().error();
        return false;
    }
    if (module().getVersion() != mvk::qvn::CoreVersion) {
        lastError = corePath + " speaks interface " + std::to_string(module().getVersion()) +
                    ", this adaptor " + std::to_string(mvk::qvn::CoreVersion);
        module().unload();
        return false;
    }
    modulePath() = corePath;
    return true;
}

bool BlenderSession::attach(const std::string& corePath) {
    if (core != nullptr)
        return true;
    if (!loadModule(corePath))
        return false;
    // What an installer does elsewhere: the user data folder exists before the core first runs.
    const std::string documents = mvk::platform::documentsFolder();
    if (!documents.empty())
        mvk::platform::createFolders(documents + "/Morvik Vedidedivu/quorvane/data");
    core = module().attach(&adaptor);
    if (core == nullptr) {
        lastError = "the core refused the adaptor";
        return false;
    }
    takes.watch(*core);
    return true;
}

void BlenderSession::detach() {
    if (core == nullptr)
        return;
    module().detach(core);
    core = nullptr;
    adaptor.forgetScene();
}

void BlenderSession::detachAtExit() {
    BlenderScene::setUsable(false);
    detach();
}

int BlenderSession::pump() {
    if (core == nullptr)
        return 0;
    adaptor.nextTurn();
    stoppingSince = std::chrono::steady_clock::now();
    core->processEvents();
    followRecording();
    int busy = 0;
    // A take's keys reach the curves when it ends (the hold is accepted); until then the
    // objects only show where they are.
    if (core->isRecording()) {
        adaptor.showLatestKeys();
        busy |= QVNB_BUSY_RECORDING;
    } else {
        adaptor.flushKeys();
    }
    reportNewTakes();
    if (adaptor.waitingKeys() > 0)
        busy |= QVNB_BUSY_KEYS;
    if (qGuiApp != nullptr && QGuiApplication::focusWindow() != nullptr)
        busy |= QVNB_BUSY_WINDOW;
    return busy;
}

// Notices when a take starts and stops however it was started (the panel, the main dialog, a
// hot key), so its wall-clock length is known when its report comes.
void BlenderSession::followRecording() {
    const bool now = core != nullptr && core->isRecording();
    if (now && !recording) {
        recordingSince = std::chrono::steady_clock::now();
        resimulating = insideResimulate;
    }
    recording = now;
}

void BlenderSession::reportNewTakes() {
    const auto& reports = takes.takes();
    for (; reportedTakes < reports.size(); ++reportedTakes) {
        const mvk::qvn::TakeReport& take = reports[reportedTakes];
        double missing = 0.0;
        if (!resimulating && take.samples > 0) {
            int32_t countdown = 0;
            if (core != nullptr && !core->getSetting(2, &countdown))
                countdown = 0;
            const double wall =
                std::chrono::duration<double>(stoppingSince - recordingSince).count();
            // Slow motion stretches the take: the scene's clock runs at a fraction of the wall.
            const double sceneSeconds =
                wall / std::max(1, adaptor.slowdownFactor()) - std::max(0, countdown);
            const double sampled = take.lastSampleTime - take.firstSampleTime +
                                   adaptor.getSampleInterval();
            missing = std::max(0.0, sceneSeconds - sampled);
        }
        lost.push_back(missing);
        adaptor.notice("INFO", TakeWatcher::describe(static_cast<int>(reportedTakes + 1), take));
    }
}

int32_t BlenderSession::startRecording() {
    if (core == nullptr)
        return -1;
    const int32_t result = core->startRecording();
    followRecording();
    return result;
}

int32_t BlenderSession::stopRecording() {
    if (core == nullptr)
        return -1;
    stoppingSince = std::chrono::steady_clock::now();
    const int32_t result = core->stopRecording();
    reportNewTakes();
    followRecording();
    return result;
}

void BlenderSession::resimulate(double start, double end) {
    if (core == nullptr)
        return;
    // A resimulation runs as fast as it can; its report says nothing of lost time.
    resimulating = insideResimulate = true;
    core->resimulate(start, end);
    followRecording();
    insideResimulate = false;
}

std::string BlenderSession::saveScene() {
    if (core == nullptr)
        return {};
    adaptor.flushKeys();
    core->saveScene(adaptor);
    return adaptor.sceneText();
}

void BlenderSession::beforeLoad() {
    if (core == nullptr)
        return;
    reopenMainDialog = core->isMainDialogOpen();
    detach();
    reattach = true;
}

bool BlenderSession::afterLoad(const std::string& text) {
    if (!reattach)
        return false;
    reattach = false;
    if (!attach(modulePath()))
        return false;
    if (reopenMainDialog)
        core->openMainDialog();
    return loadScene(text);
}

bool BlenderSession::loadScene(const std::string& text) {
    if (core == nullptr || text.empty())
        return false;
    const mvk::util::xml::Element tag(text);
    return core->loadInstances(tag) != nullptr;
}

void BlenderSession::afterUndo() {
    adaptor.undoSteps().afterUndo();
}

void BlenderSession::afterRedo() {
    adaptor.undoSteps().afterRedo();
}

} // namespace qvn::host::blender
