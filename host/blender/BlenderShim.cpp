// The C face of the Blender adaptor (BlenderShim.h) over one BlenderSession per process.
#include "BlenderShim.h"

#include "BlenderScene.h"
#include "BlenderSession.h"
#include "KeyForwarder.h"
#include "MainWindowFinder.h"
#include "ToolCommands.h"
#include "util/xml/Element.h"

#include <algorithm>
#include <string>

#define QVNB_EXPORT extern "C" __attribute__((visibility("default")))

using qvn::host::blender::BlenderScene;
using qvn::host::blender::BlenderSession;
using qvn::host::blender::ToolCommands;

namespace {

// One session for the life of the process: Blender runs one add-on instance at a time, and the
// core library it loads stays resident. Every function below that reaches Blender or the core
// starts here, so this is where a new call forgets what the last one read of Blender.
BlenderSession& session() {
    static auto* only = new BlenderSession;
    BlenderScene::newCall();
    return *only;
}

mvk::qvn::CoreInterface* core() {
    return session().interface();
}

// The strings handed out, each valid until the next call of its function.
const char* kept(std::string& slot, std::string value) {
    slot = std::move(value);
    return slot.c_str();
}

// A list field: tabs and line breaks would split the line.
std::string field(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n'; }, ' ');
    return text;
}

} // namespace

QVNB_EXPORT int32_t qvnb_abi_version(void) {
    return QVNB_ABI_VERSION;
}

QVNB_EXPORT int32_t qvnb_set_scene(const QvnbScene* scene) {
    return scene != nullptr && BlenderScene::setCallbacks(*scene) ? 1 : 0;
}

QVNB_EXPORT int32_t qvnb_attach(const char* corePath) {
    BlenderScene::setUsable(true);
    return session().attach(corePath != nullptr ? corePath : "") ? 1 : 0;
}

QVNB_EXPORT void qvnb_detach(void) {
    session().detach();
}

QVNB_EXPORT void qvnb_detach_at_exit(void) {
    session().detachAtExit();
}

QVNB_EXPORT int32_t qvnb_is_attached(void) {
    return session().isAttached() ? 1 : 0;
}

QVNB_EXPORT const char* qvnb_error(void) {
    static std::string text;
    return kept(text, session().error());
}

QVNB_EXPORT int32_t qvnb_pump(void) {
    return session().pump();
}

QVNB_EXPORT void qvnb_flush_keys(void) {
    session().host().flushKeys();
}

QVNB_EXPORT int32_t qvnb_waiting_keys(void) {
    return static_cast<int32_t>(session().host().waitingKeys());
}

QVNB_EXPORT void qvnb_key_cost(QvnbKeyCost* cost) {
    if (cost == nullptr)
        return;
    const auto& spent = session().host().keyCost();
    *cost = {spent.keys, spent.flushes, spent.shows, spent.seconds};
}

QVNB_EXPORT const char* qvnb_save_scene(void) {
    static std::string text;
    return kept(text, session().saveScene());
}

QVNB_EXPORT void qvnb_before_load(void) {
    session().beforeLoad();
}

QVNB_EXPORT int32_t qvnb_after_load(const char* sceneText) {
    return session().afterLoad(sceneText != nullptr ? sceneText : "") ? 1 : 0;
}

QVNB_EXPORT int32_t qvnb_load_scene(const char* sceneText) {
    return session().loadScene(sceneText != nullptr ? sceneText : "") ? 1 : 0;
}

QVNB_EXPORT void qvnb_after_undo(void) {
    session().afterUndo();
}

QVNB_EXPORT void qvnb_after_redo(void) {
    session().afterRedo();
}

QVNB_EXPORT int32_t qvnb_undo_step_count(void) {
    return session().host().undoSteps().stepCount();
}

QVNB_EXPORT const char* qvnb_undo_step_name(int32_t index) {
    static std::string text;
    const auto& steps = session().host().undoSteps();
    return kept(text, index >= 0 && index < steps.stepCount() ? steps.stepName(index) : "");
}

QVNB_EXPORT int32_t qvnb_undo_step_applied(int32_t index) {
    const auto& steps = session().host().undoSteps();
    return index >= 0 && index < steps.stepCount() && steps.isApplied(index) ? 1 : 0;
}

QVNB_EXPORT int32_t qvnb_take_count(void) {
    return static_cast<int32_t>(session().takeReports().takes().size());
}

QVNB_EXPORT int32_t qvnb_take(int32_t index, QvnbTake* take) {
    const auto& takes = session().takeReports().takes();
    if (take == nullptr || index < 0 || static_cast<size_t>(index) >= takes.size())
        return 0;
    const mvk::qvn::TakeReport& report = takes[static_cast<size_t>(index)];
    *take = {report.samples,         report.lateSamples,    report.maxLagMilliseconds,
             report.firstSampleTime, report.lastSampleTime, session().lostSeconds(index)};
    return 1;
}

QVNB_EXPORT int32_t qvnb_open_main_dialog(void) {
    return core() != nullptr ? core()->openMainDialog() : -1;
}

QVNB_EXPORT int32_t qvnb_close_main_dialog(void) {
    return core() != nullptr ? core()->closeMainDialog() : -1;
}

QVNB_EXPORT int32_t qvnb_is_main_dialog_open(void) {
    return core() != nullptr && core()->isMainDialogOpen() ? 1 : 0;
}

QVNB_EXPORT int32_t qvnb_start_recording(void) {
    return session().startRecording();
}

QVNB_EXPORT int32_t qvnb_stop_recording(void) {
    return session().stopRecording();
}

QVNB_EXPORT int32_t qvnb_is_recording(void) {
    return core() != nullptr && core()->isRecording() ? 1 : 0;
}

QVNB_EXPORT int32_t qvnb_get_slow_motion(void) {
    return core() != nullptr ? core()->getSlowMotion() : 1;
}

QVNB_EXPORT void qvnb_set_slow_motion(int32_t step) {
    if (core() != nullptr)
        core()->setSlowMotion(std::max(1, step));
}

QVNB_EXPORT void qvnb_resimulate(double start, double end) {
    session().resimulate(start, end);
}

QVNB_EXPORT const char* qvnb_create_instance(const char* tool) {
    static std::string text;
    if (core() == nullptr || tool == nullptr)
        return kept(text, "");
    return kept(text, core()->createInstance(tool));
}

QVNB_EXPORT int32_t qvnb_delete_instance(const char* name) {
    return core() != nullptr && name != nullptr ? core()->deleteInstance(name) : -1;
}

QVNB_EXPORT int32_t qvnb_has_instance(const char* name) {
    return core() != nullptr && name != nullptr && core()->findInstance(name) != nullptr ? 1 : 0;
}

QVNB_EXPORT int32_t qvnb_get_setting_int(int32_t id, int32_t* value) {
    return core() != nullptr && value != nullptr && core()->getSetting(id, value) ? 1 : 0;
}

QVNB_EXPORT int32_t qvnb_forward_key(const char* blenderType, int32_t press, int32_t ctrl,
                                     int32_t alt, int32_t shift) {
    if (core() == nullptr || blenderType == nullptr)
        return 0;
    return qvn::host::blender::KeyForwarder::forward(blenderType, press != 0, ctrl != 0, alt != 0,
                                                     shift != 0)
               ? 1
               : 0;
}

QVNB_EXPORT const char* qvnb_installed_tools(void) {
    static std::string text;
    std::string lines;
    if (core() != nullptr)
        for (const auto& tool : ToolCommands::installedTools(*core()))
            lines += std::to_string(tool.item) + "\t" + field(tool.menu) + "\t" + field(tool.name) +
                     "\t" + field(tool.tooltip) + "\n";
    return kept(text, std::move(lines));
}

QVNB_EXPORT const char* qvnb_scene_tools(void) {
    static std::string text;
    std::string lines;
    if (core() != nullptr)
        for (const auto& tool : ToolCommands::sceneTools(*core()))
            lines += std::to_string(tool.depth) + "\t" + field(tool.name) + "\n";
    return kept(text, std::move(lines));
}

QVNB_EXPORT const char* qvnb_create_tool(int32_t item) {
    static std::string text;
    return kept(text, core() != nullptr ? ToolCommands::create(*core(), item) : std::string());
}

QVNB_EXPORT int32_t qvnb_select_tool(const char* name) {
    return core() != nullptr && name != nullptr && ToolCommands::select(*core(), name) ? 1 : 0;
}

QVNB_EXPORT const char* qvnb_open_tool_window(const char* name, int32_t which) {
    static std::string text;
    if (core() == nullptr || name == nullptr)
        return kept(text, "");
    const int32_t command = which == QVNB_TOOL_INPUT_SETTINGS ? ToolCommands::InputSettings
                                                              : ToolCommands::Configuration;
    return kept(text, ToolCommands::openWindow(*core(), name, command));
}

QVNB_EXPORT uint32_t qvnb_main_window(void) {
    return qvn::host::blender::MainWindowFinder::blenderWindow();
}
