#include "gui/Toolkit.h"

#include "gui/MyApp.h"
#include "gui/RunLoopTimer.h"
#include "gui/background/Color.h"
#include "gui/background/Gradient_Linear.h"
#include "gui/component/Border.h"
#include "gui/component/Button.h"
#include "gui/component/CheckBox.h"
#include "gui/component/ComboBox.h"
#include "gui/component/Dialog.h"
#include "gui/component/FlmButton.h"
#include "gui/component/Graph.h"
#include "gui/component/Group.h"
#include "gui/component/Label.h"
#include "gui/component/List.h"
#include "gui/component/ListBox.h"
#include "gui/component/Menubar.h"
#include "gui/component/Progressbar.h"
#include "gui/component/Scroll.h"
#include "gui/component/Spinner.h"
#include "gui/component/TextBox.h"
#include "gui/component/Tree.h"
#include "platform/Interaction.h"
#include "util/Log.h"

#include <QCoreApplication>
#include <QPalette>
#include <QPixmapCache>

#include <cstdlib>
#include <iostream>

namespace mvk::gui::Toolkit {

namespace {

qt::MyApp* application = nullptr;
qt::RunLoopTimer* runLoopTimer = nullptr;

bool hasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void choosePlatform() {
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if ((chosen == nullptr || *chosen == '\0') && !hasDisplay())
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// An inactive window keeps a visible, slightly faded selection.
void setUpPalette() {
    QPalette palette = QApplication::palette();
    QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    highlight.setAlpha(170);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, highlight);
    QApplication::setPalette(palette);
}

// A question answered without a display leaves its trace where the user will look for it.
void reportToLog(const std::string& question, const std::string& text) {
    util::Log::instance()->write(question, text, util::Log::Warning);
}

} // namespace

// The order is the order in which elements are offered to the factories. A factory whose name
// is already registered is destroyed by add().
void registerFactories() {
    ComponentFactory* components = ComponentFactory::instance();
    components->add(new component::Dialog::Factory());
    components->add(new component::Button::Factory());
    components->add(new component::FlmButton::Factory());
    components->add(new component::List::Factory());
    components->add(new component::Border::Factory());
    components->add(new component::Scroll::Factory());
    components->add(new component::TextBox::Factory());
    components->add(new component::ComboBox::Factory());
    components->add(new component::Group::Factory());
    components->add(new component::Spinner::Factory());
    components->add(new component::Label::Factory());
    components->add(new component::CheckBox::Factory());
    components->add(new component::Tree::Factory());
    components->add(new component::Graph::Factory());
    components->add(new component::Progressbar::Factory());
    components->add(new component::ListBox::Factory());
    components->add(new component::Menubar::Factory());

    BackgroundFactory* backgrounds = BackgroundFactory::instance();
    backgrounds->add(new background::Color::Factory());
    backgrounds->add(new background::Gradient_Linear::Factory());
}

void teardownFactories() {
    if (ComponentFactory* components = ComponentFactory::existing())
        components->destroy();
    if (BackgroundFactory* backgrounds = BackgroundFactory::existing())
        backgrounds->destroy();
}

void start() {
    if (application != nullptr)
        return;
    choosePlatform();
    application = new qt::MyApp();
    runLoopTimer = new qt::RunLoopTimer();
    setUpPalette();
    platform::setUnattendedReport(&reportToLog);
}

void stop() {
    if (runLoopTimer != nullptr) {
        runLoopTimer->stop();
        delete runLoopTimer;
        runLoopTimer = nullptr;
    }
    // The pixmap cache outlives an application of ours; a host's own application keeps its.
    if (application != nullptr)
        QPixmapCache::clear();
    delete application;
    application = nullptr;
    platform::setUnattendedReport(nullptr);
}

bool isStarted() { return application != nullptr; }

void processEvents() {
    if (QCoreApplication::instance() == nullptr)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // The host never runs a Qt loop, so deferred deletes are delivered here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents();
}

void startEventPump() {
    std::cout << "init startRunLoopTimerX" << std::endl;
    if (runLoopTimer != nullptr)
        runLoopTimer->start(40);
}

bool isPumping() { return runLoopTimer != nullptr && runLoopTimer->isActive(); }

} // namespace mvk::gui::Toolkit
