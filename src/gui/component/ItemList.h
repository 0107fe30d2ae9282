#pragma once
// The entries of a combo box or list box: the texts of the "item" children, in order, each
// with the path of its image (attribute "image"; only a list box shows it).
#include "util/xml/Element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::gui {

class ItemList {
public:
    // The element text of each "item" child; an item without text is an empty entry.
    void read(const util::xml::Element& element);
    void write(util::xml::Element& element) const;

    int32_t count() const { return static_cast<int32_t>(entries.size()); }
    std::string text(int32_t index) const;
    // The image path of an entry; empty when it has none or for an index out of range.
    std::string image(int32_t index) const;
    void setImage(int32_t index, const std::string& path);
    // Where insert() puts an entry for `index`.
    int32_t insertionIndex(int32_t index) const;
    void insert(const std::string& text, int32_t index);
    bool remove(int32_t index);
    int32_t find(const std::string& text) const;
    void clear() { entries.clear(); }
    bool contains(int32_t index) const { return index >= 0 && index < count(); }

private:
    struct Entry {
        std::string text;
        std::string image;
    };
    std::vector<Entry> entries;
};

} // namespace mvk::gui
