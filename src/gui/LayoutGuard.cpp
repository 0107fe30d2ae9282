#include "gui/LayoutGuard.h"

#include "gui/Component.h"
#include "util/Log.h"

#include <utility>
#include <vector>

namespace mvk::gui {

namespace {

using util::xml::Element;

void refuse(const std::string& reason) {
    util::Log::instance()->write("Layout refused: " + reason, util::Log::Error);
}

} // namespace

LayoutGuard::LayoutGuard(const Element& element) {
    // Only the outermost creation checks; the components it builds are inside the checked tree.
    if (nesting == 0)
        allowed = check(element);
    ++nesting;
}

LayoutGuard::~LayoutGuard() {
    --nesting;
}

bool LayoutGuard::check(const Element& element) {
    const ComponentFactory* factories = ComponentFactory::existing();
    // Walked with an explicit stack: the document itself may be nested far deeper than we allow.
    // Every element counts for the depth (menus and popups are built recursively too); only
    // components count towards their number.
    std::vector<std::pair<const Element*, int>> pending{{&element, 1}};
    int components = 0;
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (factories != nullptr && factories->has(node->name()) && ++components > MaxComponents) {
            refuse("more than " + std::to_string(MaxComponents) + " components");
            return false;
        }
        if (depth > MaxDepth) {
            refuse("components nested deeper than " + std::to_string(MaxDepth));
            return false;
        }
        for (int i = 0; i < node->childCount(); ++i)
            if (node->child(i).type() == Element::KindTag)
                pending.emplace_back(&node->child(i), depth + 1);
    }
    return true;
}

} // namespace mvk::gui
