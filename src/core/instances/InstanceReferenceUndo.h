#pragma once
// Undo records of the tool tree, handed to the host while it holds an operation.
#include "sdk/CUndo.h"

#include <string>

namespace mvk::qvn::core {

class InstanceReference;

// The common part of the tree's undo records: the reference they act on. A reference that dies
// while records still name it (an instance destroyed outright) is forgotten by all of them, so a
// later undo or release finds nothing to act on instead of a dangling pointer.
class InstanceReferenceRecord : public CUndo {
public:
    explicit InstanceReferenceRecord(InstanceReference* reference);
    ~InstanceReferenceRecord() override;
    // Called by a reference as it dies.
    static void forget(InstanceReference* reference);

protected:
    InstanceReference* reference;
};

// A reference that was created: undo takes it out, redo puts it back.
class InstanceReferenceCreateRestore : public InstanceReferenceRecord {
public:
    InstanceReferenceCreateRestore(InstanceReference* reference, InstanceReference* parent,
                                   int position);
    void restore(bool isUndo) override;
    void redo() override;
    // A creation that stays undone when the host drops the record takes its reference along.
    ~InstanceReferenceCreateRestore() override;

private:
    InstanceReference* parent;
    int position;
    bool undone = false;
};

// A reference that was deleted: undo puts it back, redo takes it out again. When the host drops
// the record while the deletion stands, the reference and its instance go for good.
class InstanceReferenceDeleteRestore : public InstanceReferenceRecord {
public:
    InstanceReferenceDeleteRestore(InstanceReference* reference, InstanceReference* parent,
                                   int position);
    void restore(bool isUndo) override;
    void redo() override;
    ~InstanceReferenceDeleteRestore() override;

private:
    InstanceReference* parent;
    int position;
    bool deleted = true;
};

// A rename: undo applies the old name, redo the new one.
class InstanceReferenceRename : public InstanceReferenceRecord {
public:
    InstanceReferenceRename(InstanceReference* reference, std::string newName,
                            std::string oldName);
    void restore(bool isUndo) override;
    void redo() override;

private:
    std::string newName;
    std::string oldName;
};

} // namespace mvk::qvn::core
