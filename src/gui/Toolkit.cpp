#include "gui/Toolkit.h"

#include "gui/MyApp.h"
#include "gui/RunLoopTimer.h"
#include "platform/Interaction.h"
#include "util/Log.h"

#include <QCoreApplication>
#include <QPalette>

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

void registerFactories() {
    ComponentFactory::instance();
    BackgroundFactory::instance();
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
