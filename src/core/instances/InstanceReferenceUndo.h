#pragma once
// Undo records of the tool tree, handed to the host while it holds an operation.
#include "sdk/CUndo.h"

#include <string>

namespace mvk::qvn::core {

class InstanceReference;

// A reference that was created: undo takes it out, redo puts it back.
class InstanceReferenceCreateRestore : public CUndo {
public:
    InstanceReferenceCreateRestore(InstanceReference* reference, InstanceReference* parent,
                                   int position);
    void restore() override;
    void redo() override;
    // A creation that stays undone when the host drops the record takes its reference along.
    ~InstanceReferenceCreateRestore() override;

private:
    InstanceReference* reference;
    InstanceReference* parent;
    int position;
    bool undone = false;
};

// A reference that was deleted: undo puts it back, redo takes it out again. When the host drops
// the record while the deletion stands, the reference and its instance go for good.
class InstanceReferenceDeleteRestore : public CUndo {
public:
    InstanceReferenceDeleteRestore(InstanceReference* reference, InstanceReference* parent,
                                   int position);
    void restore() override;
    void redo() override;
    ~InstanceReferenceDeleteRestore() override;

private:
    InstanceReference* reference;
    InstanceReference* parent;
    int position;
    bool deleted = true;
};

// A rename: undo applies the old name, redo the new one.
class InstanceReferenceRename : public CUndo {
public:
    InstanceReferenceRename(InstanceReference* reference, std::string newName,
                            std::string oldName);
    void restore() override;
    void redo() override;

private:
    InstanceReference* reference;
    std::string newName;
    std::string oldName;
};

} // namespace mvk::qvn::core
