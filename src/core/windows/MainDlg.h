#pragma once
// The main dialog: the tool tree, the create buttons and menus, the record controls, the menu
// bar's commands and the main settings.
#include "core/CoreSubSystem.h"
#include "core/MainConfigSettings.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QWidget;

namespace mvk::gui {
class Component;
}
namespace mvk::util {
class Message;
class MessageNode;
} // namespace mvk::util

namespace mvk::qvn {
struct TakeReport;
}

namespace mvk::qvn::core {

class ConfigWindow;
class InstanceReference;
class Tool;
class ToolTree;
class WindowBase;
class WindowPlacement;

class MainDlg : public CoreSubSystem {
public:
    // Component ids of the main window's layout.
    static constexpr int32_t WindowId = 100;
    static constexpr int32_t DeleteButton = 104;
    static constexpr int32_t UnplugAllButton = 105;
    static constexpr int32_t ConfigureButton = 106;
    static constexpr int32_t ShowConfigButton = 107;
    static constexpr int32_t UnplugButton = 108;
    static constexpr int32_t CloneButton = 109;
    static constexpr int32_t GroupButton = 111;
    static constexpr int32_t AutoExpandCheckBox = 113;
    static constexpr int32_t ReducedDisplayCheckBox = 114;
    static constexpr int32_t SlowMotionSpinner = 115;
    static constexpr int32_t RecordButton = 116;
    static constexpr int32_t ResimulateButton = 117;
    static constexpr int32_t QuietComponent = 118;
    static constexpr int32_t ToolTreeId = 119;
    static constexpr int32_t MenuBar = 135;
    // The status line, which also shows the help of the control under the mouse.
    static constexpr int32_t StatusLine = 150;
    static constexpr int32_t AboutCloseButton = 300;
    static constexpr int32_t AboutToolkitButton = 304;
    // The create buttons, by button index.
    static constexpr std::array<int32_t, 4> CreateButtons{101, 102, 103, 110};
    // Menu commands besides the create menus.
    static constexpr int32_t CommandUnplugAll = 123;
    static constexpr int32_t CommandConfigure = 125;
    static constexpr int32_t CommandConfigureToo = 127;
    static constexpr int32_t CommandHide = 126;
    static constexpr int32_t CommandInputSettings = 128;
    static constexpr int32_t CommandDelete = 129;
    static constexpr int32_t CommandClone = 130;
    static constexpr int32_t CommandHelp = 131;
    static constexpr int32_t CommandWebSite = 132;
    static constexpr int32_t CommandForum = 133;
    static constexpr int32_t CommandAbout = 134;
    static constexpr int32_t CommandLoadModel = 136;
    static constexpr int32_t CommandSaveModel = 140;
    static constexpr int32_t CommandSaveModelToo = 141;
    // The tool tree's context menu: commands on the item under the cursor, and the "New tool"
    // entries from this id on, one per creatable tool.
    static constexpr int32_t TreeConfigure = 1;
    static constexpr int32_t TreeInputSettings = 2;
    static constexpr int32_t TreeHelp = 3;
    static constexpr int32_t TreeClone = 4;
    static constexpr int32_t TreeDelete = 5;
    static constexpr int32_t TreeBrowse = 6;
    static constexpr int32_t TreeRename = 7;
    static constexpr int32_t TreeNewTool = 1000;
    // Messages that say the tool libraries changed.
    static constexpr int32_t LibrariesChanged = 0x8000;
    static constexpr int32_t LibrariesChangedToo = 0x8001;
    // What open() answers without a main window.
    static constexpr int32_t ResultNoWindow = 50;

    explicit MainDlg(CoreImplementation* core);
    // Hides and destroys the owned windows, then saves the settings.
    ~MainDlg() override;

    // Loads the main window's layout and prepares the create buttons; the window stays hidden.
    void initSubSystem() override;
    // Titles, wires and shows the main window: 0, or 50 without a main window.
    int32_t open();
    void close();
    bool isOpen() const;
    void bringToFront();

    // The record button shows the pressed state exactly while a take (not a resimulation) runs.
    void updateRecordMode();
    // The slow-motion spinner shows the core's slow-motion step.
    void updateSlowMotion();
    // The status line reports the finished take: "Take 3: 4.2 s, 252 samples, 0 late".
    void noteTake(const TakeReport& take);
    // The status line reports what the host's undo or redo just did to the tool tree.
    void noteTreeStep(const std::string& text);
    // What the status line shows while no help is shown: the last report, else a hint.
    std::string statusText() const;
    // A message from a main-window or about-box component, or a notice to the core.
    void onMessage(util::Message& message);

    // The tool tree's selected item, or null.
    InstanceReference* selected() const;
    // Shows the instance tree as it is now; called after every change of the tree.
    void refreshTree();
    void select(InstanceReference* reference);
    gui::Component* getMainWindow() const;
    gui::Component* getAboutWindow() const;

    // The tool a create button makes (null: none yet); giving one shows its images.
    void setButtonTool(int index, Tool* tool);
    Tool* buttonTool(int index) const;

    MainConfigSettings& getSettings() { return settings; }
    const MainConfigSettings& getSettings() const { return settings; }

    // The configuration window; null before initSubSystem.
    ConfigWindow* getConfigWindow() const { return configWindow; }
    // Opens the configuration window on the selected tool.
    void openConfigWindow();

private:
    void prepareCreateButton(int index);
    // Shows the tool selected in the tool tree in an open configuration window.
    void followSelectionInConfigWindow();
    void subscribeControls();
    void refreshCreateMenus();
    void refreshMenuStates();
    // Shows the create buttons whose category has a tool to make.
    void refreshCreateButtons();
    // Greys the input-settings button and menu item when they would do nothing.
    void refreshToolCommands();
    void onComponentEvent(int32_t sender, int32_t code, int32_t param);
    void onClicked(int32_t sender);
    void updateSlowMotionFromSpinner();
    void onMenuCommand(int32_t id);
    void onTreeCommand(int32_t id);
    // The context menu of the tool tree, with the creatable tools of the loaded libraries.
    void updateTreePopup();
    void addModelBelow(InstanceReference* parent);
    void createFromTool(Tool* tool);
    // Pops up the create menu of the button's category under the button.
    void popUpCreateMenu(int index);
    void toggleRecording();
    void resimulateFromNow();
    // The selected tool's input settings; `nested` leaves the tools directly below the root
    // alone.
    void showInputSettings(bool nested);
    void unplugAll();
    void unplugSelected();
    void cloneSelected();
    void addDeleteKey(QWidget* treeWidget);
    void deleteSelected();
    void openAbout();
    // Hides the about box at once and destroys it once the event that closed it is over, since
    // that event may come from one of its own buttons.
    void closeAbout();
    void destroyRetiredAbout();
    void loadModel();
    void saveModel();

    // Drops the core's subscriptions to the window's components, so that their destruction
    // notices do not reach a core that is shutting down.
    void stopListening(WindowBase* window);

    // The node that receives the windows' events: the core's.
    util::MessageNode* listener = nullptr;
    std::unique_ptr<WindowPlacement> placement;
    WindowBase* mainWindow = nullptr;
    std::unique_ptr<ToolTree> toolTree;
    WindowBase* aboutWindow = nullptr;
    ConfigWindow* configWindow = nullptr;
    WindowBase* retiredAbout = nullptr;
    // Shows `report` (or the hint, when empty) in the status line.
    void report(const std::string& text);
    void showStatus();

    std::array<Tool*, 4> buttonTools{};
    std::string lastReport;
    int takesReported = 0;
    MainConfigSettings settings;
};

} // namespace mvk::qvn::core
