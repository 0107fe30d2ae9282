// The main window's ways into a tool's input settings and the record button while a resimulation
// runs, through the shipped layouts with the sample orbit camera.
#include "WindowTestSupport.h"

#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/Tool.h"
#include "core/windows/ConfigWindow.h"
#include "gui/componentinterface/Button.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QWidget>

using mvk::gui::Component;
using mvk::qvn::core::InstanceReference;

namespace {

constexpr int32_t Clicked = 0x4142;
constexpr int32_t MenuCommand = 0x4300;

class MainDlgEntriesTest : public qvn::test::AttachedCore {
protected:
    void SetUp() override {
        AttachedCore::SetUp();
        installSamplePlugins();
        attach();
        ASSERT_EQ(core->openMainDialog(), mvk::qvn::ResultOk);
    }
    InstanceReference* create(const char* tool, InstanceReference* parent = nullptr) {
        return implementation()->InstanceManager::createInstance(tool, "", parent);
    }
    void select(InstanceReference* reference) {
        implementation()->refreshTree();
        implementation()->select(reference);
    }
    void click(int32_t id) {
        Component* button = mainComponent(id);
        ASSERT_NE(button, nullptr) << id;
        auto* widget = qobject_cast<QAbstractButton*>(button->getWidget());
        ASSERT_NE(widget, nullptr) << id;
        ASSERT_TRUE(widget->isVisibleTo(button->getWidget()->window())) << id;
        widget->click();
    }
    // The title of each input settings window on screen.
    static std::vector<std::string> inputWindows() {
        std::vector<std::string> titles;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle().startsWith("Inputs for "))
                titles.push_back(window->windowTitle().toStdString());
        return titles;
    }
    QAction* menuEntry(int32_t id) const {
        for (QAction* action : mainComponent(135)->getWidget()->findChildren<QAction*>())
            if (action->data().isValid() && action->data().toInt() == id)
                return action;
        ADD_FAILURE() << "no menu entry " << id;
        static QAction none;
        return &none;
    }
    // As the user does, with the window's close button.
    static void closeInputWindows() {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle().startsWith("Inputs for "))
                window->close();
    }
};

using Titles = std::vector<std::string>;

// The context menu offers configure and input settings first; button 107 reaches only tools
// below another tool, while the Tool menu's entry and the context menu reach every tool.
TEST_F(MainDlgEntriesTest, InputSettingsOpenFromTheButtonTheMenuAndTheContextMenu) {
    InstanceReference* camera = create("Orbit Camera");
    InstanceReference* group = create("Group");
    ASSERT_NE(camera, nullptr);
    ASSERT_NE(group, nullptr);
    InstanceReference* nested = create("Orbit Camera", group);
    ASSERT_NE(nested, nullptr);
    Component* tree = mainComponent(119);
    ASSERT_NE(tree, nullptr);

    const mvk::util::xml::Element popup = tree->getPopup();
    EXPECT_EQ(popup.child("item", 1).attribute("id"), "2");
    EXPECT_EQ(popup.child("item", 1).attribute("label"), "Input Settings");

    // 107 would do nothing for a top-level tool, so it is greyed and says where to look instead;
    // the menu entry stays live.
    select(camera);
    Component* inputs = mainComponent(107);
    EXPECT_FALSE(inputs->getWidget()->isEnabled());
    EXPECT_NE(inputs->getTooltip().find("inside a group"), std::string::npos);
    EXPECT_TRUE(menuEntry(128)->isEnabled());
    click(107);
    EXPECT_EQ(inputWindows(), Titles{});
    userEvent(mainComponent(135), MenuCommand, 128);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + camera->getName()});
    closeInputWindows();

    select(nested);
    EXPECT_TRUE(inputs->getWidget()->isEnabled());
    click(107);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + nested->getName()});
    closeInputWindows();

    select(camera);
    userEvent(tree, Component::EventPopupChosen, 2);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + camera->getName()});
    // The same tool again brings its one window forward rather than opening another.
    userEvent(tree, Component::EventPopupChosen, 2);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + camera->getName()});

    userEvent(tree, Component::EventPopupChosen, 1);
    EXPECT_TRUE(implementation()->getConfigWindow()->isWindowShown());

    // Nothing selected: nothing opens, and both ways in say so by being greyed.
    closeInputWindows();
    select(nullptr);
    EXPECT_FALSE(inputs->getWidget()->isEnabled());
    EXPECT_FALSE(menuEntry(128)->isEnabled());
    userEvent(mainComponent(135), MenuCommand, 128);
    userEvent(tree, Component::EventPopupChosen, 2);
    EXPECT_EQ(inputWindows(), Titles{});
}

// On a first start a create button has no tool yet: it offers its category's menu under itself
// instead of doing nothing, and a category with nothing to make shows no button at all.
TEST_F(MainDlgEntriesTest, ACreateButtonWithoutAToolOffersItsCategorysMenu) {
    auto shown = [this](int32_t id) {
        QWidget* widget = mainComponent(id)->getWidget();
        return widget->isVisibleTo(widget->window());
    };
    // The sample modules bring a camera tool only.
    EXPECT_TRUE(shown(102));
    EXPECT_FALSE(shown(101));
    EXPECT_FALSE(shown(103));

    click(102);
    QMenu* popup = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && menu->isVisible())
            popup = menu;
    ASSERT_NE(popup, nullptr);
    QWidget* button = mainComponent(102)->getWidget();
    EXPECT_EQ(popup->pos(), button->mapToGlobal(QPoint(0, button->height())));
    QStringList entries;
    QAction* orbit = nullptr;
    for (QAction* action : popup->actions()) {
        entries << action->text();
        if (action->text() == "Orbit Camera")
            orbit = action;
    }
    ASSERT_NE(orbit, nullptr) << entries.join(", ").toStdString();
    for (const char* builtIn : {"template", "PRM", "PRS", "PRC", "Group"})
        EXPECT_FALSE(entries.contains(builtIn)) << builtIn;

    popup->setActiveAction(orbit);
    QTest::keyClick(popup, Qt::Key_Return);
    InstanceReference* root = implementation()->getRoot();
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->getInstance()->getTool()->identifiers().front(), "Orbit Camera");
    auto* status = qobject_cast<QLabel*>(mainComponent(150)->getWidget());
    EXPECT_EQ(status->text().toStdString(), "Created " + root->child(0)->getName());

    // With its tool the button does what it always did: one more of that tool, no menu.
    click(102);
    EXPECT_EQ(root->childCount(), 2);
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QMenu*>(widget) != nullptr && widget->isVisible());
}

// While a resimulation runs the record button neither starts nor stops anything, and keeps
// showing the released state.
TEST_F(MainDlgEntriesTest, RecordButtonDuringAResimulationChangesNothing) {
    ASSERT_NE(create("Orbit Camera"), nullptr);
    host.time = 0.0;
    click(117);
    ASSERT_TRUE(implementation()->isResimulating());
    const std::vector<std::string> holds = host.undoStack.history();
    auto* record = mvk::gui::interfaceOf<mvk::gui::componentinterface::Button>(mainComponent(116));
    ASSERT_NE(record, nullptr);

    click(116);
    EXPECT_TRUE(implementation()->isResimulating());
    EXPECT_TRUE(core->isRecording());
    EXPECT_FALSE(record->isChecked());
    EXPECT_FALSE(countdownShown());
    EXPECT_EQ(host.undoStack.history(), holds);
    userEvent(mainComponent(116), Clicked, 116);
    EXPECT_TRUE(implementation()->isResimulating());
    EXPECT_EQ(host.undoStack.history(), holds);
}

// Run at 200 % as a test of its own: an image button keeps its size in points and draws the
// image rendered at twice the size, not the normal one blown up.
TEST_F(MainDlgEntriesTest, AtTwiceTheScaleImageButtonsDrawTheirDoubleSizeImages) {
#ifndef QVN_ARTWORK_RENDERED
    GTEST_SKIP() << "this build has no SVG renderer";
#endif
    if (qApp->devicePixelRatio() < 2.0)
        GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
    QWidget* record = mainComponent(116)->getWidget();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->size(), QSize(40, 40));
    const QImage drawn = record->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), QSize(80, 80));
    const std::string images = dataFolder() + "/core/images/";
    const QImage sharp = QImage(QString::fromStdString(images + "record@2x.png"))
                             .convertToFormat(QImage::Format_ARGB32);
    const QImage blown = QImage(QString::fromStdString(images + "record.png"))
                             .scaled(80, 80, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    // Compared where both images are opaque: the rounded corners show the window behind.
    auto difference = [&](const QImage& other) {
        long total = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                if (sharp.pixelColor(x, y).alpha() < 255 || blown.pixelColor(x, y).alpha() < 255)
                    continue;
                const QColor a = drawn.pixelColor(x, y), b = other.pixelColor(x, y);
                total += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                         std::abs(a.blue() - b.blue());
            }
        return total;
    };
    EXPECT_LT(difference(sharp) * 4, difference(blown));
}

} // namespace
