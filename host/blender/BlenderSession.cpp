#include "BlenderSession.h"

#include "BlenderScene.h"
#include "platform/FileSystem.h"
#include "platform/ShellFolders.h"
#include "util/xml/Element.h"

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
        if (modulePath() == corePath)
            return true;
        lastError = "another core library is loaded already: " + modulePath();
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

void BlenderSession::pump() {
    if (core == nullptr)
        return;
    core->processEvents();
    // A take's keys reach the curves when it ends (the hold is accepted); until then the
    // objects only show where they are.
    if (core->isRecording())
        adaptor.showLatestKeys();
    else
        adaptor.flushKeys();
    reportNewTakes();
}

void BlenderSession::reportNewTakes() {
    const auto& reports = takes.takes();
    for (; reportedTakes < reports.size(); ++reportedTakes)
        adaptor.notice("INFO", TakeWatcher::describe(static_cast<int>(reportedTakes + 1),
                                                     reports[reportedTakes]));
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
