#pragma once
// The main dialog: the tool tree, the record controls and the main settings.
#include "core/CoreSubSystem.h"

namespace mvk::qvn::core {

class MainDlg : public CoreSubSystem {
public:
    explicit MainDlg(CoreImplementation* core);
    ~MainDlg() override;

    void initSubSystem() override;
    bool isOpen() const { return open; }

private:
    bool open = false;
};

} // namespace mvk::qvn::core
