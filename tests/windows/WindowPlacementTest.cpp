// Where the core's windows open against the reference host's window, which window each belongs
// to, and how their geometry comes back in the next session.
#include "WindowTestSupport.h"

#include "HostWindow.h"
#include "core/windows/ConfigWindow.h"
#include "core/windows/MainDlg.h"
#include "core/windows/WindowPlacement.h"
#include "gui/componentinterface/Dialog.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <filesystem>
#include <memory>

using mvk::qvn::core::MainDlg;
using mvk::qvn::core::WindowPlacement;

namespace {

class WindowPlacementTest : public qvn::test::AttachedCore {
protected:
    void SetUp() override {
        AttachedCore::SetUp();
        // The core makes the application object, so the screen is known once it is attached.
        attach();
        screen = QGuiApplication::primaryScreen()->availableGeometry();
    }
    void TearDown() override {
        closeSession();
        AttachedCore::TearDown();
    }
    // The host window at `geometry`, then an attached core whose main dialog is open. The
    // reference host's window is never narrower than its transport row; `narrowHost` stands in
    // a main window small enough to leave room beside it on the test screen.
    void openSession(const QRect& geometry, bool narrowHost = false) {
        if (core == nullptr)
            attach();
        if (narrowHost)
            hostWindow = std::make_unique<QWidget>();
        else
            hostWindow = std::make_unique<qvn::host::HostWindow>(*core, host);
        hostWindow->setGeometry(geometry);
        hostWindow->show();
        host.mainWindowHandle = static_cast<uint32_t>(hostWindow->winId());
        ASSERT_EQ(core->openMainDialog(), mvk::qvn::ResultOk);
    }
    // The host closes its window, then detaches (the core takes the application object along).
    void closeSession() {
        hostWindow.reset();
        host.mainWindowHandle = 0;
        if (core != nullptr)
            mvk::qvn::core::detachCore(core);
        core = nullptr;
    }
    QWidget* mainDialog() const { return core->getMainWindow()->getWidget(); }
    std::string windowsFile() const {
        return environment.userDataPath() + "/data/refhost/windows.xml";
    }
    void menuCommand(int32_t id) { userEvent(mainComponent(MainDlg::MenuBar), 0x4300, id); }

    QRect screen;
    std::unique_ptr<QWidget> hostWindow;
};

TEST_F(WindowPlacementTest, TheMainDialogOpensBesideTheHostWindowWhichOwnsItWhileItStaysOnTop) {
    // Room on the right: beside the host window, top edges level.
    openSession(QRect(screen.topLeft(), QSize(screen.width() / 4, screen.height() / 2)), true);
    const QRect host = hostWindow->frameGeometry();
    const QRect dialog = mainDialog()->frameGeometry();
    EXPECT_GT(dialog.left(), host.right());
    EXPECT_EQ(dialog.top(), host.top());
    EXPECT_TRUE(screen.contains(dialog)) << dialog.x() << "," << dialog.y();
    // The host's window owns it: the window manager keeps it above that window only.
    ASSERT_NE(mainDialog()->windowHandle(), nullptr);
    EXPECT_EQ(mainDialog()->windowHandle()->transientParent(), hostWindow->windowHandle());
    EXPECT_FALSE(mainDialog()->windowFlags() & Qt::WindowStaysOnTopHint);
    // A change of the stay-on-top setting applies at once; the component still reports it.
    auto& settings = implementation()->getSettings();
    ASSERT_TRUE(settings.stayOnTop());
    settings.setStayOnTop(false);
    EXPECT_EQ(mainDialog()->windowHandle()->transientParent(), nullptr);
    EXPECT_TRUE(mainDialog()->isVisible());
    settings.setStayOnTop(true);
    EXPECT_EQ(mainDialog()->windowHandle()->transientParent(), hostWindow->windowHandle());
    EXPECT_TRUE(mvk::gui::interfaceOf<mvk::gui::componentinterface::Dialog>(core->getMainWindow())
                    ->isTopmost());
    closeSession();

    // No room (and nothing remembered): it goes over the host window's right edge, still
    // wholly on screen.
    std::filesystem::remove(windowsFile());
    openSession(screen);
    EXPECT_TRUE(screen.contains(mainDialog()->frameGeometry()));
    EXPECT_EQ(mainDialog()->frameGeometry().right(), screen.right());
}

TEST_F(WindowPlacementTest, WindowsOpenedFromTheMainDialogBelongToItAndOpenCentredOnIt) {
    openSession(QRect(screen.topLeft(), QSize(200, 200)));
    menuCommand(MainDlg::CommandAbout);
    mvk::gui::Component* about = implementation()->getAboutWindow();
    ASSERT_NE(about, nullptr);
    QWidget* box = about->getWidget();
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowHandle()->transientParent(), mainDialog()->windowHandle());
    EXPECT_FALSE(box->windowFlags() & Qt::WindowStaysOnTopHint);
    QRect centred(QPoint(), box->frameGeometry().size());
    centred.moveCenter(mainDialog()->frameGeometry().center());
    if (screen.contains(centred)) {
        EXPECT_EQ(box->frameGeometry(), centred);
    }
    EXPECT_TRUE(screen.contains(box->frameGeometry()));

    // Even with stay-on-top off, a window the dialog opened stays its child.
    implementation()->getSettings().setStayOnTop(false);
    implementation()->openConfigWindow();
    QWidget* config = implementation()->getConfigWindow()->getRoot()->getWidget();
    ASSERT_TRUE(config->isVisible());
    EXPECT_NE(config->windowHandle()->transientParent(), nullptr);
}

TEST_F(WindowPlacementTest, GeometryComesBackInTheNextSessionOnlyWhereAScreenShowsIt) {
    openSession(QRect(screen.topLeft(), QSize(200, 200)), true);
    const QRect chosen(screen.left() + 40, screen.top() + 30, 350, 520);
    mainDialog()->setGeometry(chosen);
    closeSession();
    const std::string stored = qvn::test::TestEnvironment::readFile(windowsFile());
    EXPECT_NE(stored.find("name=\"MainWindow\""), std::string::npos) << stored;

    openSession(QRect(screen.topLeft(), QSize(200, 200)), true);
    EXPECT_EQ(mainDialog()->geometry(), chosen);
    closeSession();

    // Half off the screen's right edge: pulled back on, size kept.
    const QRect halfOff(screen.right() - 100, screen.top() + 10, 350, 520);
    environment.writeFile(windowsFile(), "<windows><window name=\"MainWindow\" x=\"" +
                                             std::to_string(halfOff.x()) + "\" y=\"" +
                                             std::to_string(halfOff.y()) +
                                             "\" width=\"350\" height=\"520\"/></windows>");
    openSession(QRect(screen.topLeft(), QSize(200, 200)), true);
    EXPECT_EQ(mainDialog()->size(), halfOff.size());
    EXPECT_TRUE(screen.contains(mainDialog()->geometry()));
    EXPECT_EQ(mainDialog()->geometry().right(), screen.right());
    closeSession();

    // On a screen no longer connected, or unreadable: placed as on a first start.
    for (const std::string& text :
         {std::string("<windows><window name=\"MainWindow\" x=\"9000\" y=\"9000\" "
                      "width=\"350\" height=\"520\"/></windows>"),
          std::string("<windows><window name=\"MainWindow\" x=\"ten\" y=\"0\" width=\"-4\"/>")}) {
        environment.writeFile(windowsFile(), text);
        openSession(QRect(screen.topLeft(), QSize(200, 200)), true);
        EXPECT_TRUE(screen.contains(mainDialog()->frameGeometry()));
        EXPECT_GT(mainDialog()->frameGeometry().left(), hostWindow->frameGeometry().right());
        closeSession();
    }
}

TEST_F(WindowPlacementTest, TheCountdownIsCentredOnTheHostWindow) {
    const QRect host(screen.left() + 20, screen.top() + 20, screen.width() / 2,
                     screen.height() / 2);
    openSession(host);
    core->startRecording();
    QWidget* countdown = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == WindowPlacement::CountdownName && window->isVisible())
            countdown = window;
    ASSERT_NE(countdown, nullptr);
    const QPoint offset =
        countdown->frameGeometry().center() - hostWindow->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    EXPECT_EQ(countdown->windowHandle()->transientParent(), hostWindow->windowHandle());
    core->stopRecording();
}

} // namespace
