#include "gui/MyApp.h"

namespace mvk::gui::qt {

namespace {
// QApplication keeps references to argc and argv for its whole life.
int argumentCount = 0;
char* noArguments[] = {nullptr};
} // namespace

MyApp::MyApp() : QApplication(argumentCount, noArguments) {}

MyApp::~MyApp() = default;

} // namespace mvk::gui::qt
