#pragma once
// The undo record of one value the user changed on a preference page. Undo puts the old value
// back into the tool's variable and shows it on every page of the element; redo the new one.
// The host may keep the record longer than the element lives: once the element is gone, the
// record leaves memory alone.
#include "core/configadaptor/Node.h"
#include "sdk/CUndo.h"
#include "util/Message.h"

#include <memory>
#include <utility>

namespace mvk::qvn::core::configadaptor {

template <class T> class ValueUndo : public CUndo {
public:
    ValueUndo(Node& element, T* variable, T before, T after)
        : element(&element), lifetime(element.lifetimeToken()), variable(variable),
          before(std::move(before)), after(std::move(after)) {}

    void restore(bool isUndo) override {
        if (isUndo)
            apply(before);
    }
    void redo() override { apply(after); }

private:
    void apply(const T& value) {
        if (lifetime.expired())
            return;
        *variable = value;
        element->showRestoredValue();
    }

    Node* element;
    std::weak_ptr<const void> lifetime;
    T* variable;
    T before;
    T after;
};

// A preference change is one step of the host's undo, also for elements without a callback:
// a person expects Edit > Undo to take back the setting just changed, not the operation
// before it. Where a callback runs, the record joins the operation it runs in, so the host
// sees the same single operation as before.
template <class T> void Node::storeUserValue(T* variable, T value) {
    const bool same = *variable == value;
    T before = *variable;
    *variable = value;
    showRestoredValue();
    runCallback(same ? nullptr
                     : new ValueUndo<T>(*this, variable, std::move(before), std::move(value)));
}

} // namespace mvk::qvn::core::configadaptor
