#include "DemoTake.h"

#include "util/AVar.h"
#include "util/DataChunk.h"
#include "util/xml/Element.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <vector>

using mvk::util::xml::Element;
using Curve = mvk::util::AVar_Linear<double>;

namespace qvn::host {

namespace {

// The camera's inputs and the gamepad axes that drive them in the take.
struct Binding {
    const char* property;
    int axis;
    const char* label;
};
constexpr Binding Bindings[] = {
    {"Pan", 0, "pan (left stick x)"},
    {"Tilt", 1, "tilt (left stick y)"},
    {"Dolly", 5, "dolly (right trigger)"},
};

const Element* findInstanceTag(const Element& tag, const std::string& name) {
    const Element* found = nullptr;
    tag.forEachChild("QVT_Plugin", [&](const Element& instance) {
        if (found != nullptr)
            return;
        if (instance.child("name", 0).text() == name)
            found = &instance;
        else
            found = findInstanceTag(instance, name);
    });
    return found;
}

Element sceneTag(mvk::qvn::CoreInterface& core, RefHost& host) {
    core.saveScene(host);
    return Element(host.sceneText);
}

// The recorded curves of an instance as the scene tag stores them, in input order.
std::vector<Curve> recordedCurves(const Element& scene, const std::string& name) {
    std::vector<Curve> curves;
    const Element* tag = findInstanceTag(scene, name);
    if (tag == nullptr)
        return curves;
    const Element& values = tag->child("recordedinputvalues", 0);
    values.forEachChild("input", [&](const Element& input) {
        const mvk::util::DataChunk block = mvk::util::DataChunk::base64Decode(input.text());
        curves.emplace_back();
        curves.back().read(block.data(), block.size());
    });
    return curves;
}

const TransformKeyList* cameraKeys(const RefHost& host) {
    RefNode* node = host.scene.find(std::string(DemoTake::CameraName) + "_camera");
    return node != nullptr ? &node->transformKeys() : nullptr;
}

void removeChildren(Element& tag, const std::string& name) {
    for (int i = tag.childCount() - 1; i >= 0; --i)
        if (tag.child(i).name() == name)
            tag.takeChild(i);
}

// The "recordedinputvalues" text of the instance `name` in a scene tag; empty when absent.
std::string recordedValuesText(const Element& scene, const std::string& name) {
    const Element* tag = findInstanceTag(scene, name);
    return tag != nullptr ? tag->child("recordedinputvalues", 0).toString("", "", "") : "";
}

} // namespace

bool DemoTake::run() {
    out << "\n== recording a take with \"" << CameraName << "\" from the simulated gamepad\n";
    if (!loadBoundCamera())
        return false;
    recordTake(3.0);
    if (takes.takes().empty() || takes.takes().back().samples == 0) {
        out << "the take recorded nothing\n";
        return false;
    }
    return writeTable() && writePlot() && undoAndRedo() && resimulateSteeperPan();
}

// A copy of the template camera's scene tag, renamed, without host nodes, whose inputs name the
// gamepad's axes: loading it is how a host brings back an instance with its bindings.
bool DemoTake::loadBoundCamera() {
    const std::string templateCamera = core.createInstance("Orbit Camera");
    const Element scene = sceneTag(core, host);
    core.deleteInstance(templateCamera);
    const Element* original = findInstanceTag(scene, templateCamera);
    if (original == nullptr)
        return false;
    Element camera = *original;
    for (const char* dropped : {"name", "nodeinfo", "masternode", "QVT_Plugin"})
        removeChildren(camera, dropped);
    camera.addChild(mvk::util::xml::TagWithData("name", CameraName));
    Element& profile = camera.child("inputprofile", 0).child("profile", 0);
    for (int i = 0; i < profile.childCount(); ++i) {
        Element& property = profile.child(i);
        if (property.name() != "property")
            continue;
        for (const Binding& binding : Bindings) {
            if (property.attribute("name") != binding.property)
                continue;
            Element control = mvk::util::xml::Tag("control");
            control.attribute("device") = "Simulated Gamepad";
            control.attribute("type") = "axis";
            control.attribute("index") = std::to_string(binding.axis);
            property.addChild(control);
        }
    }
    Element wrapper = mvk::util::xml::Tag("QVT");
    wrapper.addChild(camera);
    const bool loaded = core.loadInstances(wrapper) != nullptr && cameraKeys(host) != nullptr;
    out << (loaded ? "loaded" : "could not load") << " \"" << CameraName
        << "\" with pan, tilt and dolly bound to the gamepad\n";
    return loaded;
}

// The host's loop: pump the core until the countdown and `seconds` of take have passed. The
// demo runs the core in simulated time, where every pump fires the next due timer, so the loop
// never waits for the wall clock and the take is the same on every run.
void DemoTake::recordTake(double seconds) {
    int32_t countdown = 0;
    core.getSetting(2, &countdown);
    out << "start recording (countdown " << countdown << " s, then " << seconds << " s)\n";
    core.startRecording();
    const double end = host.getTime() + seconds;
    // Half a second in, the countdown window is up and counting.
    const double picture = host.getTime() - countdown + 0.5;
    bool pictured = countdownShots == nullptr || countdown == 0;
    // Far more pumps than a take of this length needs: a core that stops ticking ends it.
    const int most = static_cast<int>((countdown + seconds + 1.0) * 1000.0);
    for (int pump = 0; pump < most && core.isRecording() && host.getTime() < end; ++pump) {
        core.processEvents();
        if (!pictured && host.getTime() >= picture) {
            countdownShots->take("Countdown", "countdown.png");
            pictured = true;
        }
    }
    core.stopRecording();
}

bool DemoTake::writeTable() const {
    const std::vector<Curve> inputs = recordedCurves(sceneTag(core, host), CameraName);
    const TransformKeyList* keys = cameraKeys(host);
    if (inputs.size() < 3 || keys == nullptr)
        return false;
    std::ofstream table(output + "/take.csv");
    table << "time,pan,tilt,dolly";
    for (int i = 0; i < 16; ++i)
        table << ",camera_m" << i;
    table << "\n";
    for (size_t k = 0; k < inputs[0].keyCount(); ++k) {
        const double time = inputs[0].key(k).time;
        table << time;
        for (size_t input = 0; input < 3; ++input)
            table << "," << inputs[input].valueAt(time);
        const auto key = keys->find(time);
        for (int i = 0; i < 16; ++i)
            table << "," << (key != keys->end() ? key->second[static_cast<size_t>(i)] : 0.0);
        table << "\n";
    }
    out << "take table written to: " << output << "/take.csv (" << inputs[0].keyCount()
        << " samples)\n";
    return static_cast<bool>(table);
}

namespace {

using Points = std::vector<std::pair<double, double>>;

// The smallest rectangle (time in x, value in y) that holds every point; a flat set of values
// gets some height so it draws as a line in the middle.
QRectF bounds(const std::vector<Points>& curves) {
    double t0 = 1e300, t1 = -1e300, v0 = 1e300, v1 = -1e300;
    for (const Points& curve : curves)
        for (const auto& [time, value] : curve) {
            t0 = std::min(t0, time);
            t1 = std::max(t1, time);
            v0 = std::min(v0, value);
            v1 = std::max(v1, value);
        }
    if (v1 - v0 < 1e-9) {
        v0 -= 1.0;
        v1 += 1.0;
    }
    return QRectF(QPointF(t0, v0), QPointF(t1, v1));
}

// One panel of the plot: curves of (time, value) scaled into `area`, with a legend.
void drawPanel(QPainter& painter, const QRectF& area, const std::string& title,
               const std::vector<Points>& curves, const std::vector<std::string>& labels) {
    static const QColor colours[] = {QColor(200, 60, 50), QColor(40, 120, 200),
                                     QColor(60, 160, 80)};
    const QRectF range = bounds(curves);
    if (!(range.width() > 0))
        return;
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(area);
    painter.drawText(area.adjusted(6, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(title) +
                         QString("  (%1 to %2)").arg(range.top()).arg(range.bottom()));
    painter.drawText(area.adjusted(6, 0, -6, -4), Qt::AlignLeft | Qt::AlignBottom,
                     QString("%1 s").arg(range.left()));
    painter.drawText(area.adjusted(6, 0, -6, -4), Qt::AlignRight | Qt::AlignBottom,
                     QString("%1 s").arg(range.right()));
    for (size_t c = 0; c < curves.size(); ++c) {
        QPolygonF line;
        for (const auto& [time, value] : curves[c])
            line << QPointF(area.left() + (time - range.left()) / range.width() * area.width(),
                            area.bottom() - (value - range.top()) / range.height() * area.height());
        painter.setPen(QPen(colours[c % 3], 2));
        painter.drawPolyline(line);
        painter.drawText(QPointF(area.right() - 190, area.top() + 18 + 16 * c),
                         QString::fromStdString(labels[c]));
    }
}

} // namespace

bool DemoTake::writePlot() const {
    const std::vector<Curve> inputs = recordedCurves(sceneTag(core, host), CameraName);
    const TransformKeyList* keys = cameraKeys(host);
    if (inputs.size() < 3 || keys == nullptr)
        return false;
    std::vector<Points> inputCurves(3);
    std::vector<Points> cameraCurves(3);
    for (size_t input = 0; input < 3; ++input)
        for (const auto& key : inputs[input].allKeys())
            inputCurves[input].emplace_back(key.time, key.value);
    for (const auto& [time, matrix] : *keys)
        for (size_t axis = 0; axis < 3; ++axis)
            cameraCurves[axis].emplace_back(time, matrix[axis * 4 + 3]);

    QImage image(960, 560, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPanel(painter, QRectF(20, 20, 920, 250), "recorded inputs", inputCurves,
              {Bindings[0].label, Bindings[1].label, Bindings[2].label});
    drawPanel(painter, QRectF(20, 290, 920, 250), "camera position (keyed)", cameraCurves,
              {"x", "y", "z"});
    painter.end();
    const std::string path = output + "/take.png";
    const bool saved = image.save(QString::fromStdString(path));
    out << "take plot " << (saved ? "written to: " : "could not be written to: ") << path << "\n";
    return saved;
}

bool DemoTake::undoAndRedo() {
    const std::string recorded = recordedValuesText(sceneTag(core, host), CameraName);
    const size_t keyed = cameraKeys(host)->size();
    out << "the take keyed the camera " << keyed << " times\n";
    const bool undone = host.undo();
    const size_t afterUndo = cameraKeys(host)->size();
    const size_t inputsAfterUndo = recordedCurves(sceneTag(core, host), CameraName).size();
    out << "undo the take: " << (undone ? "done" : "nothing to undo") << "; " << afterUndo
        << " camera keys and " << inputsAfterUndo << " recorded inputs are left\n";
    const bool redone = host.undoStack.redo();
    const bool same = recordedValuesText(sceneTag(core, host), CameraName) == recorded &&
                      cameraKeys(host)->size() == keyed;
    out << "redo the take: " << (redone ? "done" : "nothing to redo") << "; the keys and curves "
        << (same ? "are back as they were" : "differ") << "\n";
    return undone && afterUndo == 0 && inputsAfterUndo == 0 && redone && same;
}

// A host changes a binding's response by loading the instance's tag with other parameters: the
// camera is deleted and loaded again from its own tag, recorded curves included, with the pan
// multiplier changed. Its motion starts afresh, as it did for the take.
bool DemoTake::reloadWithPanMultiplier(const std::string& multiplier) {
    const Element scene = sceneTag(core, host);
    const Element* original = findInstanceTag(scene, CameraName);
    if (original == nullptr)
        return false;
    Element camera = *original;
    for (const char* dropped : {"nodeinfo", "masternode"})
        removeChildren(camera, dropped);
    Element& profile = camera.child("inputprofile", 0).child("profile", 0);
    for (int i = 0; i < profile.childCount(); ++i) {
        Element& property = profile.child(i);
        if (property.name() != "property" || property.attribute("name") != "Pan")
            continue;
        removeChildren(property, "multiplier");
        property.addChild(mvk::util::xml::TagWithData("multiplier", multiplier));
    }
    core.deleteInstance(CameraName);
    // The deleted camera lives on in the host's undo history and keeps its name until that is
    // forgotten; the reloaded one takes the name back.
    host.undoStack.clear();
    Element wrapper = mvk::util::xml::Tag("QVT");
    wrapper.addChild(camera);
    return core.loadInstances(wrapper) != nullptr && cameraKeys(host) != nullptr;
}

bool DemoTake::resimulateSteeperPan() {
    out << "\n== resimulating the take with the pan response doubled\n";
    const std::map<double, Matrix> before = *cameraKeys(host);
    if (!reloadWithPanMultiplier("2"))
        return false;
    const mvk::qvn::TakeReport& take = takes.takes().back();
    const double from = take.firstSampleTime - 1.0 / host.getFrameRate();
    out << "pan multiplier 1 -> 2; resimulate " << from << " s to " << take.lastSampleTime
        << " s\n";
    const auto begin = std::chrono::steady_clock::now();
    core.resimulate(from, take.lastSampleTime);
    while (core.isRecording())
        core.processEvents();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const TransformKeyList* after = cameraKeys(host);
    out << "resimulated " << after->size() << " camera keys in " << seconds << " s; undo step \""
        << host.undoStack.stepName(host.undoStack.stepCount() - 1) << "\"\n";
    return after->size() == before.size() && writeResimulationPlot(before);
}

bool DemoTake::writeResimulationPlot(const std::map<double, Matrix>& before) const {
    const TransformKeyList* after = cameraKeys(host);
    std::vector<Points> curves(2);
    for (const auto& [time, matrix] : before)
        curves[0].emplace_back(time, matrix[3]);
    for (const auto& [time, matrix] : *after)
        curves[1].emplace_back(time, matrix[3]);
    QImage image(960, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPanel(painter, QRectF(20, 20, 920, 260), "camera x (keyed), pan multiplier 1 and 2", curves,
              {"recorded take (x1)", "resimulated (x2)"});
    painter.end();
    const std::string path = output + "/resim.png";
    const bool saved = image.save(QString::fromStdString(path));
    out << "resimulation plot " << (saved ? "written to: " : "could not be written to: ") << path
        << "\n";
    return saved;
}

bool DemoTake::reloadInFreshAttach(const CoreModule& module, RefHost& host,
                                   const std::string& sceneText, std::ostream& out) {
    out << "\n== reloading the saved scene in a fresh attach\n";
    const std::string saved = recordedValuesText(Element(sceneText), CameraName);
    mvk::qvn::CoreInterface* core = module.attach(&host);
    if (core == nullptr)
        return false;
    core->loadInstances(Element(sceneText));
    const std::string reloaded = recordedValuesText(sceneTag(*core, host), CameraName);
    module.detach(core);
    const bool same = !saved.empty() && reloaded == saved;
    out << "the recorded curves of \"" << CameraName << "\" came back "
        << (same ? "byte for byte" : "changed or missing") << " (" << saved.size()
        << " bytes of tag text)\n";
    return same;
}

} // namespace qvn::host
