// The main window's ways into a tool's input settings and the record button while a resimulation
// runs, through the shipped layouts with the sample orbit camera.
#include "WindowTestSupport.h"

#include "core/instances/InstanceReference.h"
#include "core/windows/ConfigWindow.h"
#include "gui/componentinterface/Button.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
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

    select(camera);
    click(107);
    EXPECT_EQ(inputWindows(), Titles{});
    userEvent(mainComponent(135), MenuCommand, 128);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + camera->getName()});
    closeInputWindows();

    select(nested);
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

    // Nothing selected: nothing opens.
    closeInputWindows();
    select(nullptr);
    userEvent(mainComponent(135), MenuCommand, 128);
    userEvent(tree, Component::EventPopupChosen, 2);
    EXPECT_EQ(inputWindows(), Titles{});
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
