#include "core/windows/MainDlg.h"

#include "core/CoreImplementation.h"
#include "core/Paths.h"
#include "core/configadaptor/MainConfig.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/instances/SceneTagWriter.h"
#include "core/libraries/Tool.h"
#include "core/windows/ConfigWindow.h"
#include "core/windows/ExternalDocument.h"
#include "core/windows/ToolMenus.h"
#include "core/windows/ToolTree.h"
#include "core/windows/WindowBase.h"
#include "core/windows/WindowPlacement.h"
#include "gui/Component.h"
#include "gui/MessageBox.h"
#include "gui/component/qt/Label.h"
#include "gui/componentinterface/Button.h"
#include "gui/componentinterface/CheckBox.h"
#include "gui/componentinterface/Dialog.h"
#include "gui/componentinterface/Menubar.h"
#include "gui/componentinterface/Spinner.h"
#include "gui/componentinterface/Tree.h"
#include "platform/Interaction.h"
#include "sdk/CoreInterface.h"
#include "sdk/HostAdaptor.h"
#include "sdk/TakeReport.h"
#include "util/DataChunk.h"
#include "util/Log.h"
#include "util/Message.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace mvk::qvn::core {

namespace {

constexpr const char* Caption = "Morvik Quorvane";
constexpr const char* ModelFilter = "Morvik Pre-Rigged Models (*.prm);;All files (*.*)";
constexpr const char* SaveModelFilter = "prm files (*.prm)";
// The category images of a create button without a tool, by button index.
constexpr std::array<const char*, 4> CategoryImages{"veh", "cam", "acc", "prm"};

// A window that only holds its layout; the main dialog does the listening.
class LayoutWindow : public WindowBase {
public:
    explicit LayoutWindow(std::string name) : WindowBase(std::move(name)) {}
    bool load(const std::string& fileName) { return loadLayout(fileName); }
};

std::string versionText() {
    return "Morvik Quorvane v" + std::to_string(9) + "." + std::to_string(2) + "." +
           std::to_string(1);
}

int32_t idOf(const util::Message& message) {
    const auto* component = dynamic_cast<const gui::Component*>(message.sender);
    return component != nullptr ? component->getId() : -1;
}

// The create-button index of a component id, or -1.
int buttonIndexOf(int32_t id) {
    for (size_t i = 0; i < MainDlg::CreateButtons.size(); ++i)
        if (MainDlg::CreateButtons[i] == id)
            return static_cast<int>(i);
    return -1;
}

} // namespace

MainDlg::MainDlg(CoreImplementation* core) : CoreSubSystem(core) {
    util::Log section("Constructing main Dialog Core subsystem", util::Log::Notice);
}

MainDlg::~MainDlg() {
    closeAbout();
    destroyRetiredAbout();
    toolTree.reset();
    if (configWindow != nullptr) {
        configWindow->hideWindow();
        configWindow->destroy();
        configWindow = nullptr;
    }
    if (mainWindow != nullptr) {
        stopListening(mainWindow);
        mainWindow->hideWindow();
        mainWindow->destroy();
        mainWindow = nullptr;
    }
    if (gui::WindowHooks::installed() == placement.get())
        gui::WindowHooks::install(nullptr);
    placement.reset();
    util::Log section("DeInitializing main Dialog Core subsystem", util::Log::Notice);
    settings.save();
}

// ---- Building ---------------------------------------------------------------------------------

void MainDlg::initSubSystem() {
    CoreImplementation* core = getCore();
    placement = std::make_unique<WindowPlacement>(
        [core] {
            HostAdaptor* host = core->getAdaptor();
            return host != nullptr ? host->getMainWindowHandle() : 0U;
        },
        [core] { return core->getHostDataPath(); });
    gui::WindowHooks::install(placement.get());
    settings.observeStayOnTop([this](bool stayOnTop) {
        if (auto* dialog = gui::interfaceOf<gui::componentinterface::Dialog>(getMainWindow()))
            dialog->setTopmost(stayOnTop);
    });
    auto* window = new LayoutWindow("MainWindow");
    window->load("qvn_main.xml");
    mainWindow = window;
    gui::Component* root = mainWindow->getRoot();
    if (root != nullptr)
        getCore()->setImageAliases(root);
    auto* tree = gui::interfaceOf<gui::componentinterface::Tree>(mainWindow->find(ToolTreeId));
    if (tree != nullptr) {
        toolTree = std::make_unique<core::ToolTree>(tree);
        refreshTree();
        updateTreePopup();
        addDeleteKey(mainWindow->find(ToolTreeId)->getWidget());
    }
    // The main preferences are the root instance's page in the configuration window.
    if (InstanceReference* rootReference = getCore()->getRoot())
        if (Instance* rootInstance = rootReference->getInstance())
            rootInstance->setConfigTree(new configadaptor::element::MainConfig(&settings));
    configWindow = new ConfigWindow();
    QApplication::setWindowIcon(
        QIcon(QString::fromStdString(WindowBase::imageFolder() + "/morvik_ico_16.png")));
    platform::setDialogIconFolder(WindowBase::imageFolder());
    for (int index = 0; index < static_cast<int>(CreateButtons.size()); ++index)
        prepareCreateButton(index);
}

void MainDlg::prepareCreateButton(int index) {
    gui::Component* component = mainWindow ? mainWindow->find(CreateButtons[index]) : nullptr;
    auto* button = gui::interfaceOf<gui::componentinterface::Button>(component);
    if (button == nullptr)
        return;
    using Button = gui::componentinterface::Button;
    Tool* tool = buttonTools[static_cast<size_t>(index)];
    if (tool == nullptr) {
        const std::string prefix = std::string("[images]/") + CategoryImages[index];
        button->setImage(Button::ImageDefault, prefix + ".png");
        button->setImage(Button::ImagePressed, prefix + "_pressed.png");
        button->setImage(Button::ImageHover, prefix + "_hover.png");
        return;
    }
    // The tool's own data folder first; images a tool ships with stay in its installed folder.
    std::string prefix = tool->dataFolder() + "/images/button_product_";
    if (!std::filesystem::is_regular_file(prefix + "default.png"))
        prefix = tool->installedDataFolder() + "/images/button_product_";
    button->setImage(Button::ImageDefault, prefix + "default.png");
    button->setImage(Button::ImagePressed, prefix + "pressed.png");
    button->setImage(Button::ImageHover, prefix + "hover.png");
    const std::vector<std::string> names = tool->identifiers();
    if (!names.empty())
        component->setTooltip("Create " + names.front());
}

void MainDlg::setButtonTool(int index, Tool* tool) {
    if (index < 0 || index >= static_cast<int>(buttonTools.size()))
        return;
    buttonTools[static_cast<size_t>(index)] = tool;
    prepareCreateButton(index);
    refreshCreateButtons();
}

Tool* MainDlg::buttonTool(int index) const {
    if (index < 0 || index >= static_cast<int>(buttonTools.size()))
        return nullptr;
    return buttonTools[static_cast<size_t>(index)];
}

namespace {

void unsubscribeTree(util::MessageNode& listener, gui::Component* component) {
    listener.unsubscribe(component);
    for (int i = 0; i < component->childCount(); ++i)
        unsubscribeTree(listener, component->child(i));
}

} // namespace

void MainDlg::stopListening(WindowBase* window) {
    if (listener != nullptr && window->getRoot() != nullptr)
        unsubscribeTree(*listener, window->getRoot());
}

// ---- Opening ----------------------------------------------------------------------------------

int32_t MainDlg::open() {
    util::Log section("Opening main Dialog", util::Log::Notice);
    gui::Component* root = getMainWindow();
    if (root == nullptr)
        return ResultNoWindow;
    root->setLabel(versionText());
    listener = getCore();
    listener->subscribe(root);
    subscribeControls();
    updateRecordMode();
    updateSlowMotion();
    if (auto* dialog = gui::interfaceOf<gui::componentinterface::Dialog>(root))
        dialog->setTopmost(settings.stayOnTop());
    showStatus();
    section.write("Starting component");
    root->show();
    if (toolTree)
        toolTree->fitColumns();
    return ResultOk;
}

void MainDlg::subscribeControls() {
    static constexpr std::array<int32_t, 18> Order{135, 119, 116, 117, 115, 113, 101, 102, 103,
                                                   110, 104, 111, 109, 105, 108, 107, 106, 118};
    for (int32_t id : Order) {
        gui::Component* component = mainWindow->find(id);
        if (component != nullptr) {
            listener->subscribe(component);
            if (id == MenuBar)
                refreshCreateMenus();
            continue;
        }
        const char* missing = nullptr;
        switch (id) {
        case ToolTreeId:
            missing = "Unable to find tree component in main Dialog";
            break;
        case RecordButton:
            missing = "Unable to find record button in main Dialog";
            break;
        case ResimulateButton:
            missing = "Unable to find resimulate button in main Dialog";
            break;
        case SlowMotionSpinner:
            missing = "Unable to find slow motion factor spinner in main Dialog";
            break;
        case AutoExpandCheckBox:
            missing = "Unable to find auto expand checkbox in main Dialog";
            break;
        default:
            break;
        }
        if (missing != nullptr)
            util::Log::instance()->write(missing, util::Log::Error);
    }
}

void MainDlg::close() {
    if (mainWindow != nullptr)
        mainWindow->hideWindow();
}

bool MainDlg::isOpen() const {
    return mainWindow != nullptr && mainWindow->isWindowShown();
}

void MainDlg::bringToFront() {
    if (mainWindow != nullptr)
        mainWindow->bringToFront();
}

gui::Component* MainDlg::getMainWindow() const {
    return mainWindow != nullptr ? mainWindow->getRoot() : nullptr;
}

gui::Component* MainDlg::getAboutWindow() const {
    return aboutWindow != nullptr ? aboutWindow->getRoot() : nullptr;
}

InstanceReference* MainDlg::selected() const {
    return toolTree ? toolTree->selected() : nullptr;
}

void MainDlg::refreshTree() {
    if (toolTree)
        toolTree->rebuild(getCore()->getRoot());
    if (configWindow != nullptr)
        configWindow->refreshInstances();
}

void MainDlg::select(InstanceReference* reference) {
    if (toolTree)
        toolTree->select(reference);
    refreshToolCommands();
}

// ---- Controls that follow the record manager ---------------------------------------------------

void MainDlg::updateRecordMode() {
    gui::Component* component = mainWindow ? mainWindow->find(RecordButton) : nullptr;
    auto* button = gui::interfaceOf<gui::componentinterface::Button>(component);
    if (button == nullptr)
        return;
    const bool taking =
        getCore()->RecordManager::isRecording() && !getCore()->RecordManager::isResimulating();
    if (button->isToggle()) {
        button->setChecked(taking);
        return;
    }
    if (auto* widget = qobject_cast<QAbstractButton*>(component->getWidget()))
        widget->setDown(taking);
}

void MainDlg::updateSlowMotion() {
    gui::Component* component = mainWindow ? mainWindow->find(SlowMotionSpinner) : nullptr;
    if (auto* spinner = gui::interfaceOf<gui::componentinterface::Spinner>(component))
        spinner->setValue(getCore()->getSlowMotion());
}

// ---- Status line -------------------------------------------------------------------------------

// The status line is more than the help line it started as: while no help is shown it keeps the
// last thing that happened (a take, a command that the host's undo takes back) or, before that,
// what to do next. Nothing a host or plug-in observes changes: the line's own label stays empty.
void MainDlg::noteTake(const TakeReport& take) {
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.1f", take.lastSampleTime - take.firstSampleTime);
    report("Take " + std::to_string(++takesReported) + ": " + duration + " s, " +
           std::to_string(take.samples) + " samples, " + std::to_string(take.lateSamples) +
           " late");
}

void MainDlg::noteTreeStep(const std::string& text) { report(text); }

std::string MainDlg::statusText() const {
    if (!lastReport.empty())
        return lastReport;
    const InstanceReference* root = getCore()->getRoot();
    if (root == nullptr || root->childCount() == 0)
        return "Create a tool with the buttons above or the Create menu";
    return "Tick the tools a take records, then press Record";
}

void MainDlg::report(const std::string& text) {
    lastReport = text;
    showStatus();
}

void MainDlg::showStatus() {
    gui::Component* line = mainWindow ? mainWindow->find(StatusLine) : nullptr;
    if (auto* label = line ? qobject_cast<QLabel*>(line->getWidget()) : nullptr)
        gui::component::qt::Label::setPlaceholder(label, QString::fromStdString(statusText()));
}

// ---- Create menus -----------------------------------------------------------------------------

void MainDlg::refreshCreateMenus() {
    gui::Component* component = mainWindow ? mainWindow->find(MenuBar) : nullptr;
    if (gui::interfaceOf<gui::componentinterface::Menubar>(component) == nullptr)
        return;
    if (auto* bar = qobject_cast<QMenuBar*>(component->getWidget()))
        ToolMenus::rebuild(*bar);
    refreshCreateButtons();
    refreshMenuStates();
    updateTreePopup();
}

void MainDlg::updateTreePopup() {
    gui::Component* tree = mainWindow ? mainWindow->find(ToolTreeId) : nullptr;
    if (tree == nullptr)
        return;
    auto item = [](int32_t id, const char* label) {
        util::xml::Element entry = util::xml::Tag("item");
        entry.attribute("id") = std::to_string(id);
        entry.attribute("label") = label;
        return entry;
    };
    util::xml::Element popup = util::xml::Tag("popup");
    popup.attribute("label") = "Tool";
    popup.addChild(item(TreeConfigure, "Configure"));
    popup.addChild(item(TreeInputSettings, "Input Settings"));
    popup.addChild(item(TreeHelp, "Help documentation"));
    popup.addChild(item(TreeRename, "Rename"));
    popup.addChild(item(TreeClone, "Clone"));
    popup.addChild(item(TreeDelete, "Delete"));
    popup.addChild(util::xml::Tag("separator"));
    popup.addChild(item(TreeBrowse, "Browse..."));
    util::xml::Element tools = util::xml::Tag("popup");
    tools.attribute("label") = "New tool";
    const std::vector<Tool*> creatable = ToolMenus::creatableTools();
    for (size_t n = 0; n < creatable.size(); ++n) {
        const std::vector<std::string> names = creatable[n]->identifiers();
        tools.addChild(item(TreeNewTool + static_cast<int32_t>(n),
                            names.empty() ? "" : names.front().c_str()));
    }
    popup.addChild(tools);
    tree->setPopup(popup);
}

void MainDlg::refreshCreateButtons() {
    // A category with no tool to make keeps neither a button nor a menu: both would be dead.
    for (int index = 0; index < static_cast<int>(CreateButtons.size()); ++index) {
        gui::Component* button = mainWindow ? mainWindow->find(CreateButtons[index]) : nullptr;
        if (button == nullptr)
            continue;
        const bool offered = buttonTool(index) != nullptr ||
                             ToolMenus::groupHasTools(static_cast<ToolMenus::Group>(index));
        if (button->isVisible() != offered)
            button->setVisible(offered, false);
    }
}

void MainDlg::refreshToolCommands() {
    // Input settings go beyond the bare commands: both stay visible but are greyed exactly when
    // they would do nothing, and say why, so that a click never silently fails.
    InstanceReference* selection = selected();
    const bool tool = selection != nullptr && !selection->isRoot() && selection->getInstance();
    const bool nested = tool && selection->parent() != nullptr && !selection->parent()->isRoot();
    if (gui::Component* button = mainWindow ? mainWindow->find(ShowConfigButton) : nullptr) {
        button->setEnabled(nested, false);
        button->setTooltip(nested ? "Input settings of the selected tool"
                           : tool ? "Only for a tool inside a group: use Tool > Input settings "
                                    "for a top-level tool"
                                  : "Select a tool inside a group to see its input settings");
    }
    gui::Component* barComponent = mainWindow ? mainWindow->find(MenuBar) : nullptr;
    auto* bar = gui::interfaceOf<gui::componentinterface::Menubar>(barComponent);
    if (bar == nullptr)
        return;
    bar->setItemEnabled(CommandInputSettings, tool);
    if (auto* widget = qobject_cast<QMenuBar*>(barComponent->getWidget()))
        for (QAction* action : widget->findChildren<QAction*>())
            if (action->data().isValid() && action->data().toInt() == CommandInputSettings) {
                action->setToolTip(tool ? "Input settings of the selected tool"
                                        : "Select a tool to see its input settings");
                if (auto* menu = qobject_cast<QMenu*>(action->parent()))
                    menu->setToolTipsVisible(true);
            }
}

void MainDlg::refreshMenuStates() {
    gui::Component* component = mainWindow ? mainWindow->find(MenuBar) : nullptr;
    auto* bar = gui::interfaceOf<gui::componentinterface::Menubar>(component);
    if (bar == nullptr)
        return;
    InstanceReference* selection = selected();
    const bool hasSelection = selection != nullptr;
    const bool deletable = hasSelection && !selection->isRoot();
    for (int32_t id : {CommandUnplugAll, CommandClone, CommandSaveModel, CommandSaveModelToo})
        bar->setItemEnabled(id, hasSelection);
    bar->setItemEnabled(CommandDelete, deletable);
    refreshToolCommands();
}

// ---- Messages ---------------------------------------------------------------------------------

void MainDlg::onMessage(util::Message& message) {
    if (message.id == LibrariesChanged || message.id == LibrariesChangedToo) {
        refreshCreateMenus();
        return;
    }
    if (message.id < gui::Component::EventFirst || message.id >= gui::Component::EventEnd)
        return;
    onComponentEvent(idOf(message), message.id, message.param);
}

void MainDlg::onComponentEvent(int32_t sender, int32_t code, int32_t param) {
    constexpr int32_t Activated = 0x4100, Deactivated = 0x4101, Clicked = 0x4142;
    constexpr int32_t StateChanged = 0x4240, ValueCommitted = 0x4200, FlagChanged = 0x4282;
    constexpr int32_t MenuTriggered = 0x4300, MenuShowing = 0x4301;
    constexpr int32_t Refreshed = 0x4280, SelectionChanged = 0x4281, DoubleClicked = 0x4283;
    HostAdaptor* host = getCore()->getAdaptor();
    // Activation only tells the host: the tree follows the host's undo and redo as they happen,
    // so refreshing here would only rebuild the configuration window under the user.
    if (sender == WindowId && code == Activated) {
        if (host != nullptr)
            host->onWindowActivated();
    } else if (sender == WindowId && code == Deactivated && host != nullptr)
        host->onWindowDeactivated();
    else if (code == Clicked)
        onClicked(sender);
    else if (sender == SlowMotionSpinner && code == ValueCommitted)
        updateSlowMotionFromSpinner();
    else if (sender == AutoExpandCheckBox && code == StateChanged)
        return; // the record manager reads the box itself when a take reaches the range end
    else if (sender == ToolTreeId && code == FlagChanged && toolTree)
        toolTree->applyTicks();
    else if (sender == ToolTreeId && code == DoubleClicked)
        openConfigWindow();
    else if (sender == ToolTreeId && (code == Refreshed || code == SelectionChanged)) {
        refreshToolCommands();
        showStatus();
        followSelectionInConfigWindow();
    } else if (sender == ToolTreeId && code == gui::Component::EventPopupChosen)
        onTreeCommand(param);
    else if (sender == MenuBar && code == MenuShowing)
        refreshMenuStates();
    else if (sender == MenuBar && code == MenuTriggered)
        onMenuCommand(param);
}

void MainDlg::updateSlowMotionFromSpinner() {
    gui::Component* component = mainWindow ? mainWindow->find(SlowMotionSpinner) : nullptr;
    if (auto* spinner = gui::interfaceOf<gui::componentinterface::Spinner>(component))
        getCore()->setSlowMotion(spinner->getValueRounded());
}

void MainDlg::onClicked(int32_t sender) {
    if (const int index = buttonIndexOf(sender); index >= 0) {
        if (Tool* tool = buttonTool(index))
            createFromTool(tool);
        else
            popUpCreateMenu(index);
        return;
    }
    switch (sender) {
    case GroupButton:
        if (InstanceReference* group = getCore()->InstanceManager::createInstance("Group", "")) {
            refreshTree();
            select(group);
        }
        return;
    case ConfigureButton:
        openConfigWindow();
        return;
    case ShowConfigButton:
        showInputSettings(true);
        return;
    case DeleteButton:
        deleteSelected();
        return;
    case UnplugAllButton:
        unplugAll();
        return;
    case UnplugButton:
        unplugSelected();
        return;
    case CloneButton:
        cloneSelected();
        return;
    case RecordButton:
        toggleRecording();
        return;
    case ResimulateButton:
        resimulateFromNow();
        return;
    case AboutCloseButton:
        closeAbout();
        return;
    case AboutToolkitButton:
        if (!platform::isHeadless())
            QMessageBox::aboutQt(getAboutWindow() ? getAboutWindow()->getWidget() : nullptr,
                                 Caption);
        return;
    default:
        return;
    }
}

void MainDlg::onMenuCommand(int32_t id) {
    if (id >= ToolMenus::ToolItemBase) {
        createFromTool(ToolMenus::toolForItem(id));
        return;
    }
    switch (id) {
    case CommandConfigure:
    case CommandConfigureToo:
        openConfigWindow();
        return;
    case CommandUnplugAll:
        unplugAll();
        return;
    case CommandHide:
        close();
        return;
    case CommandInputSettings:
        showInputSettings(false);
        return;
    case CommandDelete:
        deleteSelected();
        return;
    case CommandClone:
        cloneSelected();
        return;
    case CommandHelp:
        openExternalDocument(getInstallPath("") + "/help_documentation/help.html");
        return;
    // The project's own pages travel with the install, so they open without a network and
    // always match the installed version.
    case CommandWebSite:
        openExternalDocument(getInstallPath("") + "/help_documentation/index.html");
        return;
    case CommandForum:
        openExternalDocument(getInstallPath("") + "/help_documentation/tool-authors.html");
        return;
    case CommandAbout:
        openAbout();
        return;
    case CommandLoadModel:
        loadModel();
        return;
    case CommandSaveModel:
    case CommandSaveModelToo:
        saveModel();
        return;
    default:
        return;
    }
}

void MainDlg::onTreeCommand(int32_t id) {
    InstanceReference* selection = selected();
    if (selection == nullptr)
        return;
    switch (id) {
    case TreeConfigure:
        openConfigWindow();
        return;
    case TreeInputSettings:
        showInputSettings(false);
        return;
    case TreeHelp:
        if (Instance* instance = selection->getInstance())
            openExternalDocument(instance->getTool()->helpDocument());
        return;
    case TreeRename:
        if (toolTree)
            toolTree->editName(selection);
        return;
    case TreeClone:
        cloneSelected();
        return;
    case TreeDelete:
        deleteSelected();
        return;
    case TreeBrowse:
        addModelBelow(selection);
        return;
    default:
        break;
    }
    const std::vector<Tool*> creatable = ToolMenus::creatableTools();
    const int32_t n = id - TreeNewTool;
    HostAdaptor* host = getCore()->getAdaptor();
    if (n < 0 || n >= static_cast<int32_t>(creatable.size()) || host == nullptr)
        return;
    const std::vector<std::string> names = creatable[static_cast<size_t>(n)]->identifiers();
    if (names.empty())
        return;
    host->beginHold("Create Tool");
    InstanceReference* created =
        getCore()->InstanceManager::createInstance(names.front(), "", selection);
    host->acceptHold();
    refreshTree();
    select(created);
}

// ---- Commands ---------------------------------------------------------------------------------

void MainDlg::createFromTool(Tool* tool) {
    if (tool == nullptr)
        return;
    const std::vector<std::string> names = tool->identifiers();
    if (names.empty())
        return;
    InstanceReference* created = getCore()->InstanceManager::createInstance(names.front(), "");
    if (created == nullptr)
        return;
    refreshTree();
    select(created);
    report("Created " + created->getName());
    // The button of the tool's category makes more of the tool used last.
    setButtonTool(static_cast<int>(ToolMenus::groupOf(*tool)), tool);
}

// A button with no tool yet would do nothing, which reads as broken on a first start; it offers
// its category's menu instead, or, when the category holds a single tool, makes that tool at
// once (a menu of one entry is a click for nothing). Nothing a host or plug-in sees changes: the
// tool is still made through the menu's own command.
void MainDlg::popUpCreateMenu(int index) {
    gui::Component* barComponent = mainWindow ? mainWindow->find(MenuBar) : nullptr;
    auto* bar = barComponent ? qobject_cast<QMenuBar*>(barComponent->getWidget()) : nullptr;
    gui::Component* button = mainWindow ? mainWindow->find(CreateButtons[index]) : nullptr;
    QWidget* anchor = button ? button->getWidget() : nullptr;
    QMenu* menu = bar ? ToolMenus::menuOf(*bar, static_cast<ToolMenus::Group>(index)) : nullptr;
    if (menu == nullptr || anchor == nullptr || menu->isEmpty())
        return;
    std::vector<const QAction*> tools;
    for (const QAction* entry : menu->actions())
        if (!entry->isSeparator() && entry->data().isValid())
            tools.push_back(entry);
    if (tools.size() == 1 && tools.front()->isEnabled()) {
        onMenuCommand(tools.front()->data().toInt());
        return;
    }
    // The popup carries copies of the menu's entries: a shared entry would also report through
    // the menu bar and make its tool twice.
    auto* popup = new QMenu(anchor);
    popup->setObjectName("CreatePopup");
    popup->setToolTipsVisible(true);
    for (const QAction* entry : menu->actions()) {
        if (entry->isSeparator()) {
            popup->addSeparator();
            continue;
        }
        QAction* copy = popup->addAction(entry->text());
        copy->setData(entry->data());
        copy->setToolTip(entry->toolTip());
        copy->setEnabled(entry->isEnabled());
    }
    QObject::connect(popup, &QMenu::triggered, popup, [this](QAction* action) {
        if (action->data().isValid())
            onMenuCommand(action->data().toInt());
    });
    QObject::connect(popup, &QMenu::aboutToHide, popup, &QObject::deleteLater);
    popup->popup(anchor->mapToGlobal(QPoint(0, anchor->height())));
}

void MainDlg::toggleRecording() {
    CoreImplementation* core = getCore();
    // The click toggled the button itself; it goes back to what the record manager is doing.
    if (core->RecordManager::isResimulating()) {
        updateRecordMode();
        return;
    }
    if (core->RecordManager::isRecording())
        core->RecordManager::stopRecording();
    else
        core->RecordManager::startRecording();
    updateRecordMode();
}

void MainDlg::resimulateFromNow() {
    CoreImplementation* core = getCore();
    HostAdaptor* host = core->getAdaptor();
    if (core->RecordManager::isRecording() || host == nullptr)
        return;
    double start = 0.0;
    double end = 0.0;
    host->getRange(start, end);
    core->resimulate(host->getTime(), end);
}

void MainDlg::showInputSettings(bool nested) {
    InstanceReference* selection = selected();
    if (selection == nullptr || selection->isRoot())
        return;
    if (nested && selection->parent() != nullptr && selection->parent()->isRoot())
        return;
    if (Instance* instance = selection->getInstance())
        instance->showInputSettings();
}

void MainDlg::unplugAll() {
    HostAdaptor* host = getCore()->getAdaptor();
    if (selected() == nullptr || host == nullptr)
        return;
    // The top of the tree stays: everything below it is unplugged, the last first.
    host->beginHold("Unplug tool");
    if (InstanceReference* root = getCore()->getRoot())
        for (int i = root->childCount(); i-- > 0;)
            root->child(i)->deleteReference(false);
    host->acceptHold();
    refreshTree();
}

void MainDlg::unplugSelected() {
    HostAdaptor* host = getCore()->getAdaptor();
    InstanceReference* selection = selected();
    if (selection == nullptr || host == nullptr)
        return;
    const std::string name = selection->getName();
    host->beginHold("Unplug tool");
    selection->deleteReference(false);
    host->acceptHold();
    refreshTree();
    report("Unplugged " + name + "; its scene nodes stay (Ctrl+Z in the host plugs it back)");
}

void MainDlg::cloneSelected() {
    InstanceReference* selection = selected();
    InstanceReference* copy = selection ? selection->clone() : nullptr;
    if (copy == nullptr)
        return;
    refreshTree();
    select(copy);
    report("Cloned as " + copy->getName());
}

// The Delete key on the tree does what the delete button does, as in any list of things a person
// can remove; the host's undo brings the tool back. Only while the tree itself has the focus: in
// the name being edited the key deletes a character.
void MainDlg::addDeleteKey(QWidget* treeWidget) {
    if (treeWidget == nullptr)
        return;
    auto* key = new QShortcut(QKeySequence::Delete, treeWidget);
    key->setContext(Qt::WidgetShortcut);
    QObject::connect(key, &QShortcut::activated, [this] { deleteSelected(); });
}

void MainDlg::deleteSelected() {
    InstanceReference* selection = selected();
    if (selection == nullptr || selection->isRoot())
        return;
    const std::string name = selection->getName();
    selection->deleteTool();
    refreshTree();
    report("Deleted " + name + " (Ctrl+Z in the host brings it back)");
}

void MainDlg::openAbout() {
    destroyRetiredAbout();
    if (aboutWindow == nullptr) {
        auto* window = new LayoutWindow("AboutWindow");
        window->load("qvn_about.xml");
        aboutWindow = window;
    }
    gui::Component* root = aboutWindow->getRoot();
    if (root == nullptr)
        return;
    listener = getCore();
    for (int32_t id : {AboutCloseButton, AboutToolkitButton})
        if (gui::Component* button = aboutWindow->find(id))
            listener->subscribe(button);
    aboutWindow->bringToFront();
}

void MainDlg::closeAbout() {
    if (aboutWindow == nullptr)
        return;
    WindowBase* window = aboutWindow;
    aboutWindow = nullptr;
    stopListening(window);
    window->hideWindow();
    destroyRetiredAbout();
    retiredAbout = window;
    QWidget* widget = window->getRoot() ? window->getRoot()->getWidget() : nullptr;
    if (widget == nullptr) {
        destroyRetiredAbout();
        return;
    }
    // Tied to the widget: when the window goes first, the call is dropped.
    QTimer::singleShot(0, widget, [this] { destroyRetiredAbout(); });
}

void MainDlg::destroyRetiredAbout() {
    if (retiredAbout == nullptr)
        return;
    WindowBase* window = retiredAbout;
    retiredAbout = nullptr;
    window->destroy();
}

namespace {

// The tools stored in a *.prm file the user picks; an empty element when none was picked or the
// file cannot be read.
util::xml::Element askForModel(gui::Component* owner) {
    std::string chosen;
    if (!platform::interaction().openFileName(owner ? owner->getWidget() : nullptr, "Load",
                                              getInstallPath("prm"), ModelFilter, chosen))
        return {};
    util::DataChunk bytes;
    if (!bytes.loadFile(chosen))
        return {};
    const util::DataChunk text = bytes.decode();
    util::xml::Element model;
    if (model.parse(reinterpret_cast<const char*>(text.data()), text.size()) !=
        util::xml::Element::Parsed)
        return {};
    const size_t slash = chosen.find_last_of('/');
    model.attribute("path") =
        slash == std::string::npos ? std::string(".") : chosen.substr(0, slash);
    return model;
}

} // namespace

void MainDlg::loadModel() {
    const util::xml::Element model = askForModel(getMainWindow());
    if (!model.isEmpty())
        getCore()->loadInstances(model);
}

void MainDlg::addModelBelow(InstanceReference* parent) {
    const util::xml::Element model = askForModel(getMainWindow());
    if (model.isEmpty())
        return;
    getCore()->createFromScene(model, parent);
    refreshTree();
}

void MainDlg::saveModel() {
    InstanceReference* selection = selected();
    if (selection == nullptr)
        return;
    std::string chosen;
    gui::Component* root = getMainWindow();
    if (!platform::interaction().saveFileName(root ? root->getWidget() : nullptr, "Save",
                                              getInstallPath("prm"), SaveModelFilter, chosen))
        return;
    if (!SceneTagWriter::write(*selection, 0).save(chosen))
        gui::messageBox(root ? root->getWidget() : nullptr, "Error: Unable to save to file.",
                        Caption, 0x100001, false);
}

// ---- Configuration window ---------------------------------------------------------------------

void MainDlg::openConfigWindow() {
    if (configWindow == nullptr)
        return;
    InstanceReference* reference = selected();
    configWindow->open(reference != nullptr ? reference->getInstance() : nullptr);
}

void MainDlg::followSelectionInConfigWindow() {
    if (configWindow == nullptr || !configWindow->isWindowShown())
        return;
    InstanceReference* reference = selected();
    Instance* instance = reference != nullptr ? reference->getInstance() : nullptr;
    if (instance != nullptr && instance != configWindow->selectedInstance())
        configWindow->selectInstance(instance);
}

} // namespace mvk::qvn::core
