#pragma once
#include <QDialog>

class QVBoxLayout;

namespace mvk::gui::component::qt {

// The floating window that holds the content of a torn-off panel.
class TearedOffMenu : public QDialog {
    Q_OBJECT
public:
    TearedOffMenu(const QString& title, QWidget* parent);

    // Puts `content` into the window (taking it from wherever it was).
    void take(QWidget* content);

private:
    QVBoxLayout* box;
};

} // namespace mvk::gui::component::qt
