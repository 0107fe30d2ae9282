#pragma once
// The core's holds as Blender undo steps. Each accepted hold pushes one step named after it, and
// the core's undo records of the hold go with that step. Blender's undo brings its own data back
// by itself (objects, F-curves); the core's state is brought back by the records. To know which
// steps an undo or redo crossed, every pushed step stamps the scenes with its number: after
// Blender restores a state, the stamp it carries is the last hold that belongs to it.
#include <functional>
#include <string>
#include <vector>

namespace mvk::qvn {
class CUndo;
}

namespace qvn::host::blender {

class HoldSteps {
public:
    ~HoldSteps() { clear(); }

    // Called before a step is pushed, so everything the hold changed is in Blender's data.
    void setBeforePush(std::function<void()> callback) { beforePush = std::move(callback); }

    void begin(const std::string& name);
    // Records arriving outside a hold are released at once: nothing could undo them.
    void put(mvk::qvn::CUndo* record);
    void accept();
    void cancel();
    bool isHolding() const { return depth > 0; }
    int holdDepth() const { return depth; }

    // After Blender undid or redid steps: restores or redoes the records of every hold whose
    // applied state no longer matches the scene's stamp.
    void afterUndo();
    void afterRedo();
    // Releases every record (a new file, or the core going away).
    void clear();

    int stepCount() const { return static_cast<int>(steps.size()); }
    const std::string& stepName(int index) const { return steps[static_cast<size_t>(index)].name; }
    bool isApplied(int index) const { return steps[static_cast<size_t>(index)].applied; }

private:
    struct Step {
        int number = 0;
        std::string name;
        std::vector<mvk::qvn::CUndo*> records;
        bool applied = true;
    };
    static void release(Step& step);
    static int sceneStamp();
    static void pushBlenderStep(int number, const std::string& name);
    void dropUndone();

    std::vector<Step> steps;
    Step open;
    int depth = 0;
    int counter = 0;
    std::function<void()> beforePush;
};

} // namespace qvn::host::blender
