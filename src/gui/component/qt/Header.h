#pragma once
#include <QHeaderView>

namespace mvk::gui::component::qt {

// The header of a tree: flag sections as wide as their icons, the name section taking the rest,
// the last section stretched; sections stay in their order.
class Header : public QHeaderView {
    Q_OBJECT
public:
    explicit Header(QWidget* parent);
    // Sizes the sections for a tree with `flags` flag columns.
    void setUp(int flags, int flagWidth);
};

} // namespace mvk::gui::component::qt
