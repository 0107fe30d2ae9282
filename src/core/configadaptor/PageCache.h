#pragma once
// Preference pages set aside while another page is shown. A page of a few hundred elements costs
// far more to build than to show again, and users go back and forth between the same few
// instances; the pages of the most recent ones are therefore kept, hidden and out of the window,
// and shown again with the values their elements hold by then.
#include <cstddef>
#include <vector>

namespace mvk::gui {
class Component;
}

namespace mvk::qvn::core::configadaptor {

class Node;

class PageCache {
public:
    // Keeps at most `capacity` pages besides the one shown: after each take() the pages set
    // aside longest ago go, until no more than that are left.
    explicit PageCache(size_t capacity = 1);
    // Destroys the pages it keeps.
    ~PageCache();
    PageCache(const PageCache&) = delete;
    PageCache& operator=(const PageCache&) = delete;

    // Takes `page`, built from `root` for `owner`, out of its parent component, hidden, and keeps
    // it until the next take() at least. Takes ownership; a capacity of 0 destroys the page at
    // once.
    void keep(const void* owner, Node* root, gui::Component* page);
    // The page kept for `owner` and `root`, handed back to the caller with every element showing
    // its present value and scrolled to the top as a new page would be; null when none is kept.
    // A page built from a tree that has gained or lost elements since is destroyed, not returned.
    gui::Component* take(const void* owner, Node* root);
    // Destroys the pages kept for `owner` (an owner going away, whose elements go with it).
    void forget(const void* owner);
    void clear();

    size_t size() const { return kept.size(); }

private:
    struct Kept {
        const void* owner;
        Node* root;
        size_t elements;
        gui::Component* page;
    };

    // Destroys the pages kept longest until at most `most` are left.
    void trim(size_t most);
    static size_t elementCount(const Node* root);
    static void destroyPage(gui::Component* page);

    size_t capacity;
    // The most recently kept last.
    std::vector<Kept> kept;
};

} // namespace mvk::qvn::core::configadaptor
