#include "core/configadaptor/PageCache.h"

#include "core/configadaptor/Node.h"
#include "gui/Component.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace mvk::qvn::core::configadaptor {

PageCache::PageCache(size_t capacity) : capacity(capacity) {}

PageCache::~PageCache() {
    clear();
}

void PageCache::keep(const void* owner, Node* root, gui::Component* page) {
    if (page == nullptr)
        return;
    page->hide();
    if (gui::Component* above = page->parent())
        above->removeChild(page);
    if (capacity == 0 || root == nullptr) {
        destroyPage(page);
        return;
    }
    // One page per tree: a second one for the same tree would only be older.
    std::erase_if(kept, [&](const Kept& entry) {
        const bool same = entry.owner == owner && entry.root == root;
        if (same)
            destroyPage(entry.page);
        return same;
    });
    kept.push_back({owner, root, elementCount(root), page});
    // The page about to be shown may be the oldest one kept, so one more stays until then.
    trim(capacity + 1);
}

gui::Component* PageCache::take(const void* owner, Node* root) {
    const auto found = std::find_if(kept.begin(), kept.end(), [&](const Kept& entry) {
        return entry.owner == owner && entry.root == root;
    });
    if (found == kept.end()) {
        trim(capacity);
        return nullptr;
    }
    const Kept entry = *found;
    kept.erase(found);
    trim(capacity);
    if (root == nullptr || elementCount(root) != entry.elements) {
        destroyPage(entry.page);
        return nullptr;
    }
    // The variables may have changed while the page was away (a profile loaded into another
    // page of the tool, undo, the tool itself).
    root->refreshPages();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(entry.page->getWidget())) {
        area->verticalScrollBar()->setValue(0);
        area->horizontalScrollBar()->setValue(0);
    }
    return entry.page;
}

void PageCache::forget(const void* owner) {
    std::vector<gui::Component*> going;
    std::erase_if(kept, [&](const Kept& entry) {
        if (entry.owner == owner)
            going.push_back(entry.page);
        return entry.owner == owner;
    });
    for (gui::Component* page : going)
        destroyPage(page);
}

void PageCache::clear() {
    std::vector<Kept> going;
    going.swap(kept);
    for (const Kept& entry : going)
        destroyPage(entry.page);
}

void PageCache::trim(size_t most) {
    while (kept.size() > most) {
        gui::Component* oldest = kept.front().page;
        kept.erase(kept.begin());
        destroyPage(oldest);
    }
}

size_t PageCache::elementCount(const Node* root) {
    size_t count = 0;
    std::vector<const Node*> pending{root};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        ++count;
        for (int i = 0; i < node->childCount(); ++i)
            pending.push_back(node->child(i));
    }
    return count;
}

void PageCache::destroyPage(gui::Component* page) {
    // The elements unbind the page when it announces its end.
    page->destroy();
}

} // namespace mvk::qvn::core::configadaptor
