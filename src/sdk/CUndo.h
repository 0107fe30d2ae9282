#pragma once

namespace mvk::qvn {

// An undo record handed to the host while a hold is open. The host calls restore (with
// `isUndo` set when the user undoes the step) and redo on redo, and release once when it drops
// the record (never delete it directly: the module that made it frees it).
class CUndo {
public:
    virtual void restore(bool isUndo) = 0;
    virtual void redo() = 0;
    virtual void release() { delete this; }
    virtual ~CUndo() = default;
};

} // namespace mvk::qvn
