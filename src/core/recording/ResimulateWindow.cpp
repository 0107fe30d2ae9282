#include "core/recording/ResimulateWindow.h"

#include "core/CoreImplementation.h"
#include "core/Paths.h"
#include "gui/Component.h"
#include "gui/Toolkit.h"
#include "gui/component/Button.h"
#include "gui/componentinterface/Dialog.h"
#include "gui/componentinterface/Progressbar.h"
#include "platform/TickCount.h"
#include "sdk/HostAdaptor.h"
#include "util/Log.h"
#include "util/Message.h"
#include "util/xml/Element.h"

#include <QTimer>
#include <QWidget>

#include <cmath>
#include <sstream>

namespace mvk::qvn::core {

namespace {

// Numbers in the texts are written as a stream writes them by default.
template <class... Parts> std::string text(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

} // namespace

RecordManager::ResimulateWindow::ResimulateWindow(RecordManager& manager)
    : util::MessageNode("ResimulateWindow"), manager(manager) {}

RecordManager::ResimulateWindow::~ResimulateWindow() {
    close();
    destroyRetired();
}

bool RecordManager::ResimulateWindow::build() {
    if (window != nullptr)
        return true;
    const std::string path = getInstallPath("data") + "/core/layout/qvn_resimulate.xml";
    util::xml::Element layout;
    gui::ComponentFactory* factories = gui::ComponentFactory::existing();
    if (factories == nullptr || layout.load(path) != util::xml::Element::Parsed) {
        util::Log::instance()->write("Cannot read the layout " + path, util::Log::Error);
        return false;
    }
    window = factories->create(layout);
    if (window == nullptr)
        return false;
    if (QWidget* widget = window->getWidget())
        widget->setObjectName("ResimulateWindow");
    subscribe(window);
    if (gui::Component* cancel = window->findById(CancelButton))
        subscribe(cancel);
    return true;
}

void RecordManager::ResimulateWindow::open(float startFrame) {
    // Without its window the resimulation still runs; only the progress is not shown.
    if (build()) {
        window->show();
        auto* dialog = gui::interfaceOf<gui::componentinterface::Dialog>(window);
        CoreImplementation* core = manager.getCore();
        if (dialog != nullptr && core != nullptr && core->getSettings().stayOnTop())
            dialog->setTopmost(true);
    }
    lastFrame = startFrame;
    lastFrameTick = platform::tickCount();
    estimate = 0;
    updateText();
    TimerManager::service().addTimer(this, TimerId, 1);
}

void RecordManager::ResimulateWindow::close() {
    TimerManager::service().removeTimer(this, TimerId);
    if (window == nullptr)
        return;
    gui::Component* closing = window;
    window = nullptr;
    destroyRetired();
    closing->hide();
    retired = closing;
    QWidget* widget = closing->getWidget();
    if (widget == nullptr) {
        destroyRetired();
        return;
    }
    // Tied to the widget: when the window goes first, the call is dropped.
    QTimer::singleShot(0, widget, [this] { destroyRetired(); });
}

void RecordManager::ResimulateWindow::destroyRetired() {
    if (retired == nullptr)
        return;
    gui::Component* closing = retired;
    retired = nullptr;
    closing->destroy();
}

void RecordManager::ResimulateWindow::onTimer(int32_t timerId, uint32_t) {
    if (timerId != TimerId || !manager.resimulating)
        return;
    updateText();
    if (window != nullptr)
        if (auto* bar = gui::interfaceOf<gui::componentinterface::Progressbar>(
                window->findById(ProgressBar)))
            bar->setProgress(manager.progress);
    if (manager.resimulateStep())
        manager.finishResimulation();
}

void RecordManager::ResimulateWindow::handleMessage(util::Message& message, bool) {
    if (message.id == util::Message::Destroying && message.sender == window) {
        // Closed from outside: forget the component; the slices go on.
        window = nullptr;
        return;
    }
    if (message.id == util::Message::Destroying && message.sender == retired) {
        retired = nullptr;
        return;
    }
    if (message.id == gui::component::Button::EventClicked && message.param == CancelButton &&
        manager.resimulating)
        manager.finishResimulation();
}

void RecordManager::ResimulateWindow::updateText() {
    HostAdaptor* adaptor = manager.host();
    if (adaptor == nullptr)
        return;
    const double fps = adaptor->getFrameRate();
    const int percent = static_cast<int>(std::ceil(manager.progress * 100.0F));
    const auto startFrame = static_cast<float>(manager.startTime * fps);
    const auto endFrame = static_cast<float>(manager.rangeEnd * fps);
    const auto currentFrame = static_cast<float>(manager.resimulationTime * fps);
    int64_t done = 0;
    if (currentFrame != lastFrame) {
        const uint32_t now = platform::tickCount();
        const double elapsed = static_cast<uint32_t>(now - lastFrameTick) * 0.001;
        done = static_cast<int64_t>(currentFrame - lastFrame);
        lastFrame = currentFrame;
        lastFrameTick = now;
        if (done != 0)
            estimate = static_cast<int64_t>((endFrame - currentFrame) / done * elapsed);
    }
    const auto minutes = static_cast<int64_t>(std::floor(estimate / 60.0));
    const int64_t seconds = estimate - minutes * 60;
    if (done != 0) {
        if (window != nullptr)
            window->setLabel(text(percent, "% - ", minutes, " minutes and ", seconds, " seconds"));
        setLabel(TimeLeftLabel, text(minutes, " minutes and ", seconds, " seconds."));
    }
    setLabel(CountLabel,
             text(currentFrame - 1 - startFrame, " out of ", endFrame - startFrame, " frames."));
    setLabel(RangeLabel, text("Resimulating frame ", startFrame, " to ", endFrame, "..."));
    setLabel(CurrentFrameLabel, text("Current frame: ", currentFrame - 1));
}

void RecordManager::ResimulateWindow::setLabel(int32_t id, const std::string& label) {
    if (window == nullptr)
        return;
    if (gui::Component* component = window->findById(id))
        component->setLabel(label);
}

} // namespace mvk::qvn::core
