#pragma once
// Keeps a layout document from building an unbounded tree: the outermost component creation
// checks the whole element first and refuses documents nested too deeply (counting every
// element, since menus and popups are built recursively too) or holding too many components.
#include "util/xml/Element.h"

namespace mvk::gui {

class Component;

class LayoutGuard {
public:
    static constexpr int MaxDepth = 256;
    static constexpr int MaxComponents = 100000;

    explicit LayoutGuard(const util::xml::Element& element);
    ~LayoutGuard();
    LayoutGuard(const LayoutGuard&) = delete;
    LayoutGuard& operator=(const LayoutGuard&) = delete;

    bool accepted() const { return allowed; }

    // A new T built from the element, or null when the document is refused.
    template <class T> static Component* build(const util::xml::Element& element) {
        LayoutGuard guard(element);
        return guard.accepted() ? new T(element) : nullptr;
    }

    // Whether a document is within both limits; logs the reason when it is not.
    static bool check(const util::xml::Element& element);

private:
    bool allowed = true;
    static inline int nesting = 0;
};

} // namespace mvk::gui
