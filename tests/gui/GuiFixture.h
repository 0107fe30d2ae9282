#pragma once
// Shared set-up of the toolkit tests: Qt started offscreen once per process, the factories
// registered, and components built straight from layout text.
#include "gui/Component.h"
#include "gui/Toolkit.h"
#include "util/xml/Element.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace guitest {

struct Destroy {
    void operator()(mvk::gui::Component* component) const { component->destroy(); }
};
using Owned = std::unique_ptr<mvk::gui::Component, Destroy>;

// Builds the component tree of a layout text with the registered factories.
inline Owned build(const std::string& xml) {
    mvk::util::xml::Element element(xml);
    return Owned(mvk::gui::ComponentFactory::instance()->create(element));
}

// Releases the right mouse button over `at` of `widget`, where popups open; `chooseRow` picks
// that row of the popup once its own event loop runs (nothing when none opened).
inline void rightClickRelease(QWidget* widget, QPoint at, int chooseRow) {
    QTimer::singleShot(0, [chooseRow] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->setActiveAction(menu->actions().value(chooseRow));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        mvk::gui::Toolkit::start();
        if (mvk::gui::ComponentFactory::instance()->factoryCount() == 0)
            mvk::gui::Toolkit::registerFactories();
    }
};

} // namespace guitest
