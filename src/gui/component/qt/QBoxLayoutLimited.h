#pragma once
#include <QBoxLayout>

namespace mvk::gui::component::qt {

// A box layout whose minimum size is kept inside the owning component's size limits, so a
// container never asks for more room than its maximum or less than its minimum.
class QBoxLayoutLimited : public QBoxLayout {
public:
    explicit QBoxLayoutLimited(Direction direction, QWidget* parent = nullptr);

    void setLimits(const QSize& minimum, const QSize& maximum);
    QSize minimumSize() const override;

    int minimumWidth = 0;
    int minimumHeight = 0;
    int maximumWidth = 0x4FFFFFFF;
    int maximumHeight = 0x4FFFFFFF;
};

} // namespace mvk::gui::component::qt
