#include "HoldSteps.h"

#include "BlenderScene.h"
#include "sdk/CUndo.h"

#include <algorithm>

namespace qvn::host::blender {

void HoldSteps::release(Step& step) {
    for (auto it = step.records.rbegin(); it != step.records.rend(); ++it)
        (*it)->release();
    step.records.clear();
}

int HoldSteps::sceneStamp() {
    return BlenderScene::sceneStamp();
}

void HoldSteps::pushBlenderStep(int number, const std::string& name) {
    BlenderScene::pushUndo(name, number);
}

void HoldSteps::begin(const std::string& name) {
    // Nested holds fold into the outermost one.
    if (depth++ == 0)
        open = Step{0, name, {}, true};
}

void HoldSteps::put(mvk::qvn::CUndo* record) {
    if (record == nullptr)
        return;
    if (depth == 0) {
        record->release();
        return;
    }
    open.records.push_back(record);
}

void HoldSteps::dropUndone() {
    // A new step after an undo ends Blender's redo history; the undone holds go with it.
    for (auto it = steps.begin(); it != steps.end();) {
        if (it->applied) {
            ++it;
            continue;
        }
        release(*it);
        it = steps.erase(it);
    }
}

void HoldSteps::accept() {
    if (depth == 0 || --depth > 0)
        return;
    dropUndone();
    if (beforePush)
        beforePush();
    // Numbers keep growing past the stamp of a loaded file, so a stamp never names two holds.
    open.number = counter = std::max(counter, sceneStamp()) + 1;
    pushBlenderStep(open.number, open.name);
    steps.push_back(std::move(open));
    open = Step{};
}

void HoldSteps::cancel() {
    if (depth == 0 || --depth > 0)
        return;
    release(open);
    open = Step{};
}

void HoldSteps::afterUndo() {
    const int stamp = sceneStamp();
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        if (!it->applied || it->number <= stamp)
            continue;
        for (auto record = it->records.rbegin(); record != it->records.rend(); ++record)
            (*record)->restore(true);
        it->applied = false;
    }
}

void HoldSteps::afterRedo() {
    const int stamp = sceneStamp();
    for (Step& step : steps) {
        if (step.applied || step.number > stamp)
            continue;
        for (mvk::qvn::CUndo* record : step.records)
            record->redo();
        step.applied = true;
    }
}

void HoldSteps::clear() {
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        release(*it);
    steps.clear();
    release(open);
    open = Step{};
    depth = 0;
}

} // namespace qvn::host::blender
