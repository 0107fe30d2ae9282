#include "core/windows/CountDownWindow.h"

#include "gui/Component.h"
#include "gui/componentinterface/Dialog.h"

namespace mvk::qvn::core {

namespace {

const std::string Open = "<font size=6><b>";
const std::string Close = "</b></font>";

} // namespace

CountDownWindow::CountDownWindow() : WindowBase("CountdownWindow") {}

void CountDownWindow::start(int32_t seconds) {
    if (getRoot() == nullptr && loadLayout("qvn_countdown.xml")) {
        if (auto* dialog = gui::interfaceOf<gui::componentinterface::Dialog>(getRoot()))
            dialog->setTopmost(true);
    }
    showSeconds(Open + std::to_string(seconds) + Close);
    if (getRoot() != nullptr)
        getRoot()->show();
}

void CountDownWindow::update(const std::string& text) {
    showSeconds(Open + text + Close + " ");
}

void CountDownWindow::hide() {
    hideWindow();
}

void CountDownWindow::showSeconds(const std::string& markup) {
    if (gui::Component* label = find(SecondsLabel))
        label->setLabel(markup);
}

} // namespace mvk::qvn::core
