#include "core/windows/MainDlg.h"

#include "util/Log.h"

namespace mvk::qvn::core {

MainDlg::MainDlg(CoreImplementation* core) : CoreSubSystem(core) {
    util::Log section("Constructing main Dialog Core subsystem", util::Log::Notice);
}

MainDlg::~MainDlg() {
    util::Log section("DeInitializing main Dialog Core subsystem", util::Log::Notice);
}

void MainDlg::initSubSystem() {
    // Loads the main window's layout once the component kinds exist.
}

} // namespace mvk::qvn::core
