#pragma once
#include "gui/componentinterface/Interface.h"

#include <cstdint>
#include <string>

namespace mvk::gui::componentinterface {

class ListBox : public Interface {
public:
    virtual int32_t getCount() const = 0;
    // The text of an entry; empty for an index out of range.
    virtual std::string getItemText(int32_t index) const = 0;
    // Inserts before `index`; a negative or too large index adds at the end.
    virtual void insertItem(const std::string& text, int32_t index) = 0;
    virtual void removeItem(int32_t index) = 0;
    // The index of the first entry with that text, or -1.
    virtual int32_t findItem(const std::string& text) const = 0;
    virtual void clear() = 0;
    virtual void selectIndex(int32_t index) = 0;
    virtual void selectText(const std::string& text) = 0;
    virtual std::string getCurrentText() const = 0;
    virtual int32_t getCurrentIndex() const = 0;
    // Shows the image file at `path` (aliases resolved) beside an entry; an empty path removes
    // the image, and a file that cannot be loaded keeps the one shown before.
    virtual void setItemImage(int32_t index, const std::string& path) = 0;
    // The path given for an entry's image; empty when it has none.
    virtual std::string getItemImage(int32_t index) const = 0;
};

} // namespace mvk::gui::componentinterface
