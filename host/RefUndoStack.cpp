#include "RefUndoStack.h"

#include "sdk/CUndo.h"

namespace qvn::host {

RefUndoStack::~RefUndoStack() {
    onChange = nullptr;
    clear();
}

void RefUndoStack::release(Step& step) {
    for (auto it = step.records.rbegin(); it != step.records.rend(); ++it)
        (*it)->release();
    step.records.clear();
}

void RefUndoStack::beginHold(const std::string& name) {
    events.push_back("begin:" + name);
    // Nested holds fold into the outermost operation.
    if (depth++ == 0) {
        open = Step{name, {}};
        ++holds;
    }
}

void RefUndoStack::put(mvk::qvn::CUndo* record) {
    if (record == nullptr)
        return;
    if (depth == 0) {
        record->release();
        return;
    }
    open.records.push_back(record);
}

void RefUndoStack::whenAccepted(std::function<void()> finish) {
    if (depth > 0)
        finishing.push_back(std::move(finish));
}

void RefUndoStack::accept() {
    if (depth == 0)
        return;
    events.push_back("accept:" + open.name);
    if (--depth > 0)
        return;
    for (const auto& finish : finishing)
        finish();
    finishing.clear();
    Step done = std::move(open);
    open = Step{};
    if (done.records.empty())
        return;
    for (Step& step : undone)
        release(step);
    undone.clear();
    steps.push_back(std::move(done));
    changed();
}

void RefUndoStack::changed() {
    if (onChange)
        onChange();
}

bool RefUndoStack::dropLast(const std::string& name) {
    if (depth > 0 || steps.empty() || steps.back().name != name)
        return false;
    release(steps.back());
    steps.pop_back();
    changed();
    return true;
}

void RefUndoStack::cancel() {
    if (depth == 0)
        return;
    events.push_back("cancel:" + open.name);
    if (--depth > 0)
        return;
    finishing.clear();
    release(open);
    open = Step{};
}

bool RefUndoStack::undo() {
    if (depth > 0 || steps.empty())
        return false;
    Step step = std::move(steps.back());
    steps.pop_back();
    for (auto it = step.records.rbegin(); it != step.records.rend(); ++it)
        (*it)->restore(true);
    undone.push_back(std::move(step));
    changed();
    return true;
}

bool RefUndoStack::redo() {
    if (depth > 0 || undone.empty())
        return false;
    Step step = std::move(undone.back());
    undone.pop_back();
    for (mvk::qvn::CUndo* record : step.records)
        record->redo();
    steps.push_back(std::move(step));
    changed();
    return true;
}

void RefUndoStack::clear() {
    for (auto it = undone.rbegin(); it != undone.rend(); ++it)
        release(*it);
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        release(*it);
    release(open);
    undone.clear();
    steps.clear();
    finishing.clear();
    depth = 0;
    changed();
}

} // namespace qvn::host
