#include "core/windows/MainDlg.h"

#include "sdk/CoreInterface.h"
#include "util/Log.h"

namespace mvk::qvn::core {

MainDlg::MainDlg(CoreImplementation* core) : CoreSubSystem(core) {
    util::Log section("Constructing main Dialog Core subsystem", util::Log::Notice);
}

MainDlg::~MainDlg() {
    util::Log section("DeInitializing main Dialog Core subsystem", util::Log::Notice);
    settings.save();
}

int32_t MainDlg::openDialog() {
    if (open)
        return ResultMainDialogOpen;
    util::Log section("Opening main Dialog", util::Log::Notice);
    // The main window arrives with the windows; until then there is nothing to show and the
    // dialog stays closed.
    return ResultOk;
}

int32_t MainDlg::closeDialog() {
    if (!open)
        return ResultMainDialogNotOpen;
    open = false;
    return ResultOk;
}

void MainDlg::initSubSystem() {
    // Loads the main window's layout once the component kinds exist.
}

} // namespace mvk::qvn::core
