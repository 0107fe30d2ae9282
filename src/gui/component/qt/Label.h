#pragma once
#include "gui/component/Label.h"
#include "gui/component/qt/QtComponent.h"

#include <QLabel>

#include <array>

namespace mvk::gui::component::qt {

class Label : public QtComponent<QLabel, component::Label> {
public:
    explicit Label(const util::xml::Element& element);

    // The text shown while the label's own text is empty ("placeholder" in a layout); for a
    // label of this kind it shows at once.
    static constexpr const char* PlaceholderProperty = "placeholderText";
    static void setPlaceholder(QLabel* label, const QString& text);
    void setPlaceholder(const QString& text);

    void setImage(const std::string& path) override;
    int heightForWidth(int width) const override;

protected:
    void applyLabel() override;
    void prepareShow() override;
    bool event(QEvent* event) override;

private:
    void loadImage();
    // The label's height for `width`, shared with every label that lays out the same text alike.
    int sharedHeightForWidth(int width) const;

    // A wrapping label is asked its height for the same few widths over and over while the
    // boxes around it settle, and each answer lays the whole text out; the last answers are
    // kept for the text and picture they were given for.
    struct Height {
        int width = -1;
        int height = 0;
    };
    mutable std::array<Height, 4> heights;
    mutable size_t nextHeight = 0;
    mutable QString heightsText;
    mutable qint64 heightsPicture = 0;
};

} // namespace mvk::gui::component::qt
