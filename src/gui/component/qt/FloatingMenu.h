#pragma once
#include <QMenu>
#include <QPointer>

class QVBoxLayout;

namespace mvk::gui::component::qt {

class TearOffButton;
class TearedOffMenu;

// The drop-down panel of a floating-menu button: a tear-off strip above the button's content,
// without margins or spacing. Tearing off moves the content into a floating window; opening
// the panel again takes it back.
class FloatingMenu : public QMenu {
    Q_OBJECT
public:
    explicit FloatingMenu(QWidget* parent);

    // The widget below the strip (null for none).
    void setContent(QWidget* content);
    QWidget* content() const { return contentWidget; }
    TearOffButton* strip() const { return tearOff; }
    // The floating window, once the panel was first torn off.
    TearedOffMenu* tornOff() const { return dialog; }

public slots:
    void createMenuDialog();
    void getBackWidget();

private:
    QWidget* panel;
    QVBoxLayout* panelBox;
    TearOffButton* tearOff;
    // The content belongs to the button's component tree and may go away first.
    QPointer<QWidget> contentWidget;
    TearedOffMenu* dialog = nullptr;
};

} // namespace mvk::gui::component::qt
