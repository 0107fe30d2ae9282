// Test-only: reaches the core's Qt windows inside Blender's process, the way a person's typing
// would, for the headless Blender tests that have no display to click on. Never shipped.
#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QWidget>

#include <cmath>
#include <cstdint>

namespace {

QWidget* shownWindow(const char* titleStart) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().startsWith(QString::fromUtf8(titleStart)))
            return window;
    return nullptr;
}

QDoubleSpinBox* spinShowing(const char* titleStart, double value) {
    QWidget* window = shownWindow(titleStart);
    if (window == nullptr)
        return nullptr;
    for (QDoubleSpinBox* box : window->findChildren<QDoubleSpinBox*>())
        if (box->isVisible() && std::abs(box->value() - value) < 1e-9)
            return box;
    return nullptr;
}

} // namespace

// Types `to` into the visible number field of the window that shows `from`, then Return.
// 0 when no such field is shown.
extern "C" __attribute__((visibility("default"))) int32_t qvnt_type_number(const char* titleStart,
                                                                           double from, double to) {
    QDoubleSpinBox* box = spinShowing(titleStart, from);
    if (box == nullptr)
        return 0;
    box->setFocus();
    box->setValue(to);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
    return 1;
}

// 1 when the window shows a number field with `value`.
extern "C" __attribute__((visibility("default"))) int32_t qvnt_shows_number(const char* titleStart,
                                                                            double value) {
    return spinShowing(titleStart, value) != nullptr ? 1 : 0;
}
