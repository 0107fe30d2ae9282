#pragma once
// The main dialog: the tool tree, the record controls and the main settings.
#include "core/CoreSubSystem.h"
#include "core/MainConfigSettings.h"

namespace mvk::qvn::core {

class MainDlg : public CoreSubSystem {
public:
    explicit MainDlg(CoreImplementation* core);
    ~MainDlg() override;

    void initSubSystem() override;
    bool isOpen() const { return open; }
    // Shows the main window: 0, or 10002 when it is already open.
    int32_t openDialog();
    // Hides it: 0, or 10003 when it is not open.
    int32_t closeDialog();

    MainConfigSettings& getSettings() { return settings; }
    const MainConfigSettings& getSettings() const { return settings; }

private:
    bool open = false;
    MainConfigSettings settings;
};

} // namespace mvk::qvn::core
