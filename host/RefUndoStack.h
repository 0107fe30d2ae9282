#pragma once
// The reference host's undo system: holds bracket an operation; the records handed in while a
// hold is open become one undo step.
#include <functional>
#include <string>
#include <vector>

namespace mvk::qvn {
class CUndo;
}

namespace qvn::host {

class RefUndoStack {
public:
    ~RefUndoStack();

    void beginHold(const std::string& name);
    // Records arrive only while a hold is open; one that comes outside a hold is released at once.
    void put(mvk::qvn::CUndo* record);
    // Runs `finish` when the open operation is accepted, before its step is stored (what an
    // operation does as a whole, such as a take replacing the keys in its range); dropped when
    // the operation is cancelled.
    void whenAccepted(std::function<void()> finish);
    // An accepted operation that handed in no record changed nothing and leaves no step.
    void accept();
    void cancel();
    bool isHolding() const { return depth > 0; }
    // Tells holds apart: the number of the open outermost hold (0 before the first).
    int holdNumber() const { return holds; }
    // Restores the last step (its records last first); false when there is none.
    bool undo();
    // Re-applies the last undone step; false when there is none.
    bool redo();
    // Releases every record of every step.
    void clear();
    // Drops the last step without restoring it (an operation that turned out to change
    // nothing); false when the last step is not called `name`.
    bool dropLast(const std::string& name);
    // Called after every change of the steps: an accepted operation, undo, redo, clear.
    std::function<void()> onChange;

    int stepCount() const { return static_cast<int>(steps.size()); }
    bool canRedo() const { return !undone.empty(); }
    const std::string& stepName(int index) const { return steps[static_cast<size_t>(index)].name; }
    int recordCount(int index) const {
        return static_cast<int>(steps[static_cast<size_t>(index)].records.size());
    }
    // Every hold event in order: "begin:<name>", "accept:<name>", "cancel:<name>".
    const std::vector<std::string>& history() const { return events; }

private:
    struct Step {
        std::string name;
        std::vector<mvk::qvn::CUndo*> records;
    };
    static void release(Step& step);
    void changed();

    std::vector<Step> steps;
    std::vector<Step> undone;
    Step open;
    std::vector<std::function<void()>> finishing;
    int depth = 0;
    int holds = 0;
    std::vector<std::string> events;
};

} // namespace qvn::host
