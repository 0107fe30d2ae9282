#include "gui/component/qt/Header.h"

#include <algorithm>

namespace mvk::gui::component::qt {

Header::Header(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsMovable(false);
    setStretchLastSection(true);
}

void Header::setUp(int flags, int flagWidth) {
    if (count() == 0)
        return;
    setStretchLastSection(true);
    for (int column = 1; column < count(); ++column)
        resizeSection(column, flagWidth);
    resizeSection(0, std::max(flagWidth, width() - flags * flagWidth));
}

} // namespace mvk::gui::component::qt
