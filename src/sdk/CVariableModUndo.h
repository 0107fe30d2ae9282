#pragma once
// An undo record for one variable: it keeps the variable's earlier value and exchanges it with
// the present one on undo and back on redo. Header-only, so the core, hosts and plug-in modules
// each build their own copy and free it in the module that made it.
#include "sdk/CUndo.h"

#include <memory>
#include <utility>

namespace mvk::qvn {

template <class T> class CVariableModUndo : public CUndo {
public:
    // Keeps a copy of the present value of `variable`. The host may hold the record longer than
    // the variable lives: once `lifetime` has expired, restore and redo leave memory alone.
    CVariableModUndo(T* variable, std::weak_ptr<const void> lifetime)
        : variable(variable), stored(*variable), lifetime(std::move(lifetime)) {}

    // On undo the kept value and the variable trade places (once, until redone); otherwise the
    // variable's present value becomes the kept one.
    void restore(bool isUndo) override {
        if (lifetime.expired() || withdrawn)
            return;
        if (!isUndo) {
            stored = *variable;
            return;
        }
        if (swapped)
            return;
        std::swap(stored, *variable);
        swapped = true;
    }

    // The change the record guards did not happen after all: the kept value goes back into the
    // variable, and undo and redo leave it alone from now on.
    void withdraw() {
        if (lifetime.expired() || withdrawn)
            return;
        if (!swapped)
            std::swap(stored, *variable);
        withdrawn = true;
    }

    void redo() override {
        if (lifetime.expired() || withdrawn || !swapped)
            return;
        std::swap(stored, *variable);
        swapped = false;
    }

private:
    T* variable;
    T stored;
    std::weak_ptr<const void> lifetime;
    bool swapped = false;
    bool withdrawn = false;
};

} // namespace mvk::qvn
