#pragma once
#include <QHeaderView>

namespace mvk::gui::component::qt {

// The header of a tree: flag sections as wide as their icons, the name section taking the rest,
// the last section stretched; sections stay in their order.
class Header : public QHeaderView {
    Q_OBJECT
public:
    explicit Header(QWidget* parent);
    // Sets a tree up with `flags` flag columns of `flagWidth` pixels each.
    void setUp(int flags, int flagWidth);
    // Gives the name section what the flag sections leave of `width` (the view's width).
    void fit(int width);

private:
    int flagCount = 0;
    int flagWidth = 0;
};

} // namespace mvk::gui::component::qt
