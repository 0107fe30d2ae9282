// The Python face of the Blender adaptor: the module "quorvane_blender" that the add-on imports.
#include "BlenderScene.h"
#include "BlenderSession.h"
#include "KeyForwarder.h"
#include "util/xml/Element.h"

#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

namespace py = pybind11;
using qvn::host::blender::BlenderSession;

namespace {

mvk::qvn::CoreInterface& coreOf(BlenderSession& session) {
    if (!session.isAttached())
        throw std::runtime_error("the core is not attached");
    return *session.interface();
}

py::dict takeAsDict(const mvk::qvn::TakeReport& take) {
    py::dict entry;
    entry["samples"] = take.samples;
    entry["late_samples"] = take.lateSamples;
    entry["max_lag_ms"] = take.maxLagMilliseconds;
    entry["first_sample_time"] = take.firstSampleTime;
    entry["last_sample_time"] = take.lastSampleTime;
    return entry;
}

py::list undoSteps(BlenderSession& session) {
    py::list steps;
    const auto& holds = session.host().undoSteps();
    for (int i = 0; i < holds.stepCount(); ++i)
        steps.append(py::make_tuple(holds.stepName(i), holds.isApplied(i)));
    return steps;
}

} // namespace

PYBIND11_MODULE(quorvane_blender, m) {
    m.doc() = "Attaches the Quorvane core to Blender";
    m.attr("CORE_VERSION") = mvk::qvn::CoreVersion;

    py::class_<BlenderSession>(m, "Session")
        .def(py::init<>())
        .def("attach", &BlenderSession::attach, py::arg("core_path"))
        .def("detach", &BlenderSession::detach)
        .def("detach_at_exit", &BlenderSession::detachAtExit)
        .def_property_readonly("attached", &BlenderSession::isAttached)
        .def_property_readonly("error", &BlenderSession::error)
        .def("pump", &BlenderSession::pump)
        .def("save_scene", &BlenderSession::saveScene)
        .def("before_load", &BlenderSession::beforeLoad)
        .def("after_load", &BlenderSession::afterLoad, py::arg("text"))
        .def("load_scene", &BlenderSession::loadScene, py::arg("text"))
        .def("after_undo", &BlenderSession::afterUndo)
        .def("after_redo", &BlenderSession::afterRedo)
        .def("undo_steps", &undoSteps)
        .def("set_notice_handler",
             [](BlenderSession& session, std::function<void(std::string, std::string)> handler) {
                 session.host().setNotices(
                     [handler](const std::string& level, const std::string& text) {
                         qvn::host::blender::guarded([&] { handler(level, text); });
                     });
             })
        .def("takes",
             [](BlenderSession& session) {
                 py::list list;
                 for (const auto& take : session.takeReports().takes())
                     list.append(takeAsDict(take));
                 return list;
             })
        .def("waiting_keys", [](BlenderSession& session) { return session.host().waitingKeys(); })
        .def("key_cost",
             [](BlenderSession& session) {
                 const auto& cost = session.host().keyCost();
                 py::dict entry;
                 entry["keys"] = cost.keys;
                 entry["flushes"] = cost.flushes;
                 entry["shows"] = cost.shows;
                 entry["seconds"] = cost.seconds;
                 return entry;
             })
        .def("flush_keys", [](BlenderSession& session) { session.host().flushKeys(); })
        // The core interface.
        .def("open_main_dialog", [](BlenderSession& s) { return coreOf(s).openMainDialog(); })
        .def("close_main_dialog", [](BlenderSession& s) { return coreOf(s).closeMainDialog(); })
        .def("is_main_dialog_open", [](BlenderSession& s) { return coreOf(s).isMainDialogOpen(); })
        .def("start_recording", [](BlenderSession& s) { return coreOf(s).startRecording(); })
        .def("stop_recording", [](BlenderSession& s) { return coreOf(s).stopRecording(); })
        .def("is_recording", [](BlenderSession& s) { return coreOf(s).isRecording(); })
        .def("get_slow_motion", [](BlenderSession& s) { return coreOf(s).getSlowMotion(); })
        .def("set_slow_motion",
             [](BlenderSession& s, int32_t step) { coreOf(s).setSlowMotion(std::max(1, step)); })
        .def("resimulate",
             [](BlenderSession& s, double start, double end) { coreOf(s).resimulate(start, end); })
        .def("create_instance",
             [](BlenderSession& s, const std::string& tool) {
                 return coreOf(s).createInstance(tool);
             })
        .def("delete_instance",
             [](BlenderSession& s, const std::string& name) {
                 return coreOf(s).deleteInstance(name);
             })
        .def("has_instance",
             [](BlenderSession& s, const std::string& name) {
                 return coreOf(s).findInstance(name) != nullptr;
             })
        .def("get_setting_int",
             [](BlenderSession& s, int32_t id) -> py::object {
                 int32_t value = 0;
                 if (!coreOf(s).getSetting(id, &value))
                     return py::none();
                 return py::int_(value);
             })
        .def(
            "forward_key",
            [](BlenderSession& s, const std::string& type, bool press, bool ctrl, bool alt,
               bool shift) {
                if (!s.isAttached())
                    return false;
                return qvn::host::blender::KeyForwarder::forward(type, press, ctrl, alt, shift);
            },
            py::arg("type"), py::arg("press"), py::arg("ctrl") = false, py::arg("alt") = false,
            py::arg("shift") = false);
}
