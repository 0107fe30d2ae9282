#include "gui/component/qt/Header.h"

#include <algorithm>

namespace mvk::gui::component::qt {

Header::Header(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsMovable(false);
    setStretchLastSection(true);
}

void Header::setUp(int flags, int width) {
    flagCount = flags;
    flagWidth = width;
    // The style's smallest section may be wider than a flag's icon.
    setMinimumSectionSize(flagWidth);
    setStretchLastSection(true);
}

// The header's own width is no guide: it is set only once the view lays it out. Nor is Qt's
// stretching of the last section, which measures the header's viewport, and a hidden header
// (the tree's is) never lays that out. So every section is sized here, the last one reaching
// the view's right edge.
void Header::fit(int width) {
    if (count() == 0 || flagWidth == 0)
        return;
    const int name = std::max(flagWidth, width - flagCount * flagWidth);
    int used = 0;
    for (int column = 0; column < count(); ++column) {
        const bool last = column == count() - 1;
        const int size = last ? std::max(flagWidth, width - used) : column == 0 ? name : flagWidth;
        if (sectionSize(column) != size)
            resizeSection(column, size);
        used += size;
    }
}

} // namespace mvk::gui::component::qt
