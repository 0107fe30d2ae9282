#include "HostWindow.h"

#include "Timeline.h"
#include "Viewport.h"
#include "platform/Interaction.h"
#include "platform/ShellFolders.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStringList>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <array>
#include <cmath>
#include <filesystem>

namespace qvn::host {

namespace {

constexpr const char* SceneFilter = "Quorvane scenes (*.qvscene);;All files (*)";
constexpr std::array<double, 5> FrameRates{24.0, 25.0, 30.0, 50.0, 60.0};
constexpr int PlaybackInterval = 15;
constexpr int RefreshInterval = 33;
// With nothing changing for QuietAfter milliseconds the tick slows to IdleInterval; a change it
// finds or any input of the user brings it back to RefreshInterval at once.
constexpr int IdleInterval = 250;
constexpr qint64 QuietAfter = 2000;

// Before the range starts (a take's pre-roll runs the clock up to it) there is no frame to
// name: the clock counts down the seconds to the range's start instead.
QString clockText(double seconds, double frameRate, double rangeStart) {
    const bool preRoll = seconds < rangeStart;
    const double value = preRoll ? seconds - rangeStart : seconds;
    const double shown = std::abs(value);
    const int minutes = static_cast<int>(shown / 60);
    const double rest = shown - minutes * 60.0;
    const QString time = QString("%1%2:%3")
                             .arg(value < 0 ? "-" : "")
                             .arg(minutes, 2, 10, QChar('0'))
                             .arg(rest, 5, 'f', 2, QChar('0'));
    if (preRoll)
        return time + "   pre-roll";
    const long frame = frameRate > 0 ? std::lround(seconds * frameRate) : 0;
    return time + QString("   frame %1").arg(frame);
}

QDoubleSpinBox* secondsBox(QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(-3600.0, 36000.0);
    box->setDecimals(2);
    box->setSingleStep(1.0);
    box->setSuffix(" s");
    box->setKeyboardTracking(false);
    box->setFixedWidth(84);
    return box;
}

} // namespace

HostWindow::HostWindow(mvk::qvn::CoreInterface& core, RefHost& host, QWidget* parent)
    : QMainWindow(parent), core(core), host(host), file(core, host) {
    view = new Viewport(host);
    time = new Timeline(host);
    view->onNodePicked = [this](const std::string& name) { selectNode(name); };
    time->onScrub = [this](double seconds) { setTime(seconds); };

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(view, 1);
    column->addWidget(buildTransport());
    column->addWidget(time);
    setCentralWidget(central);
    buildMenus();
    statusBar()->setSizeGripEnabled(true);
    keepKeysForTheScene();

    connect(&playTimer, &QTimer::timeout, this, [this] { advancePlayback(); });
    connect(&refreshTimer, &QTimer::timeout, this, [this] { tick(); });
    quiet.start();
    refreshTimer.start(RefreshInterval);
    qApp->installEventFilter(this);
    resize(980, 640);

    takes.onTake = [this](const mvk::qvn::TakeReport& take) { showTake(take); };
    takes.watch(core);
    seenDeletions = host.scene.deletedCount();
    host.undoStack.onChange = [this] {
        if (changeQueued)
            return;
        changeQueued = true;
        QMetaObject::invokeMethod(this, [this] { afterUndoStackChange(); }, Qt::QueuedConnection);
    };
    noteSceneSaved();
    refresh();
}

HostWindow::~HostWindow() { host.undoStack.onChange = nullptr; }

// ---- Building -------------------------------------------------------------------------------

void HostWindow::buildMenus() {
    QMenu* fileMenu = menuBar()->addMenu("&File");
    fileMenu->addAction("&New", QKeySequence::New, this, [this] {
        if (!confirmDiscard("New Scene"))
            return;
        if (newScene())
            statusBar()->showMessage("New scene", 3000);
        else
            showError("New Scene");
    });
    fileMenu->addAction("&Open...", QKeySequence::Open, this, [this] { chooseOpen(); });
    fileMenu->addAction("&Save", QKeySequence::Save, this, [this] { save(); });
    fileMenu->addAction("Save &As...", QKeySequence::SaveAs, this, [this] { chooseSaveAs(); });
    fileMenu->addSeparator();
    fileMenu->addAction("&Quit", QKeySequence::Quit, this, [this] { close(); });

    QMenu* editMenu = menuBar()->addMenu("&Edit");
    undoAction = editMenu->addAction("&Undo", QKeySequence::Undo, this, [this] { undo(); });
    redoAction = editMenu->addAction("&Redo", QKeySequence::Redo, this, [this] { redo(); });

    QMenu* viewMenu = menuBar()->addMenu("&View");
    viewActions = new QActionGroup(this);
    const std::array<std::pair<const char*, View>, 4> entries{{{"&Top", View::Top},
                                                               {"&Front", View::Front},
                                                               {"&Side", View::Side},
                                                               {"&Camera", View::Camera}}};
    for (size_t i = 0; i < entries.size(); ++i) {
        QAction* action = viewMenu->addAction(entries[i].first);
        action->setCheckable(true);
        action->setChecked(i == 0);
        action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
        viewActions->addAction(action);
        const View chosen = entries[i].second;
        connect(action, &QAction::triggered, this, [this, chosen] { setView(chosen); });
    }

    QMenu* playback = menuBar()->addMenu("&Playback");
    playback->addAction("Play / Stop", QKeySequence(Qt::Key_Space), this,
                        [this] { isPlaying() ? stop() : play(); });
    playback->addAction("Go to Start", QKeySequence(Qt::Key_Home), this,
                        [this] { setTime(this->host.rangeStart); });
    playback->addAction("Go to End", QKeySequence(Qt::Key_End), this,
                        [this] { setTime(this->host.rangeEnd); });

    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->addAction("Quorvane &Tools...", QKeySequence(Qt::CTRL | Qt::Key_T), this,
                     [this] { openTools(); });

    QToolBar* bar = addToolBar("View");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->addWidget(new QLabel(" View ", bar));
    viewChooser = new QComboBox(bar);
    viewChooser->addItems({"Top", "Front", "Side", "Camera"});
    connect(viewChooser, &QComboBox::activated, this,
            [this](int index) { setView(static_cast<View>(index)); });
    bar->addWidget(viewChooser);
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    auto* toolsButton = new QToolButton(bar);
    toolsButton->setText("Quorvane Tools");
    toolsButton->setToolTip("Open the animation tools: create tools, bind inputs, record takes");
    toolsButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(toolsButton, &QToolButton::clicked, this, [this] { openTools(); });
    bar->addWidget(toolsButton);
}

QWidget* HostWindow::buildTransport() {
    auto* transport = new QWidget(this);
    transport->setObjectName("transport");
    transport->setStyleSheet("#transport { background: #ffffff; border-top: 1px solid #e2e8f0; }");
    auto* row = new QHBoxLayout(transport);
    row->setContentsMargins(12, 6, 12, 2);
    row->setSpacing(8);

    playButton = new QToolButton(transport);
    playButton->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    playButton->setToolTip("Play or stop (Space)");
    playButton->setAutoRaise(true);
    connect(playButton, &QToolButton::clicked, this, [this] { isPlaying() ? stop() : play(); });
    row->addWidget(playButton);

    clock = new QLabel(transport);
    clock->setMinimumWidth(150);
    QFont mono = clock->font();
    mono.setFamily("DejaVu Sans Mono");
    mono.setStyleHint(QFont::Monospace);
    clock->setFont(mono);
    row->addWidget(clock);
    row->addStretch(1);

    row->addWidget(new QLabel("Range", transport));
    rangeStart = secondsBox(transport);
    rangeEnd = secondsBox(transport);
    row->addWidget(rangeStart);
    row->addWidget(new QLabel("to", transport));
    row->addWidget(rangeEnd);
    auto applyRange = [this] {
        if (rangeEnd->value() > rangeStart->value())
            this->host.setRange(rangeStart->value(), rangeEnd->value());
        noteSettingChanged();
    };
    connect(rangeStart, &QDoubleSpinBox::valueChanged, this, applyRange);
    connect(rangeEnd, &QDoubleSpinBox::valueChanged, this, applyRange);

    row->addSpacing(12);
    row->addWidget(new QLabel("Frame rate", transport));
    frameRate = new QComboBox(transport);
    for (double rate : FrameRates)
        frameRate->addItem(QString::number(rate) + " fps", rate);
    connect(frameRate, &QComboBox::activated, this, [this](int index) {
        const double rate = frameRate->itemData(index).toDouble();
        this->host.frameRate = rate;
        this->host.sampleInterval = 1.0 / rate;
        noteSettingChanged();
    });
    row->addWidget(frameRate);
    return transport;
}

// ---- Focus ----------------------------------------------------------------------------------

// Space plays and Ctrl+Z undoes whenever no text is being typed: the views take the focus when
// clicked, a field gives it back to the viewport once its value is committed (Enter) or dropped
// (Escape), and the controls that only get clicked never hold it.
void HostWindow::keepKeysForTheScene() {
    view->setFocusPolicy(Qt::StrongFocus);
    time->setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(view);
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        button->setFocusPolicy(Qt::NoFocus);
    for (QComboBox* box : {viewChooser, frameRate}) {
        box->setFocusPolicy(Qt::ClickFocus);
        connect(box, &QComboBox::activated, this, [this] { view->setFocus(Qt::OtherFocusReason); });
    }
    for (QDoubleSpinBox* box : {rangeStart, rangeEnd})
        box->installEventFilter(this);
}

// Sees the user's input anywhere in the application (it wakes the refresh tick) and the keys
// typed into the range fields (Enter and Escape hand the keys back to the viewport).
bool HostWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        wakeUp();
        break;
    default:
        break;
    }
    // Only our own range fields: the filter also sees every other window's spin boxes.
    auto* box = watched == rangeStart || watched == rangeEnd
                    ? static_cast<QDoubleSpinBox*>(watched)
                    : nullptr;
    if (box == nullptr || event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        // The typed text is dropped: the field shows the host's value again.
        const QSignalBlocker quiet(box);
        box->setValue(box == rangeStart ? host.rangeStart : host.rangeEnd);
        view->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        box->interpretText();
        view->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Scene file -----------------------------------------------------------------------------

bool HostWindow::sceneIsFree() {
    if (!core.isRecording())
        return true;
    error = "The scene is being recorded into; stop the recording first.";
    return false;
}

bool HostWindow::newScene() {
    if (!sceneIsFree())
        return false;
    stop();
    file.clear();
    path.clear();
    selectNode("");
    seenDeletions = host.scene.deletedCount();
    noteSceneSaved();
    refresh();
    return true;
}

bool HostWindow::openScene(const std::string& chosen) {
    if (!sceneIsFree())
        return false;
    stop();
    if (!file.load(chosen, error))
        return false;
    path = chosen;
    selectNode("");
    seenDeletions = host.scene.deletedCount();
    noteSceneSaved();
    refresh();
    return true;
}

bool HostWindow::saveScene(const std::string& chosen) {
    if (!file.save(chosen, error))
        return false;
    path = chosen;
    noteSceneSaved();
    return true;
}

std::string HostWindow::dialogFolder() const {
    if (!path.empty())
        return std::filesystem::path(path).parent_path().string();
    return mvk::platform::documentsFolder();
}

void HostWindow::chooseOpen() {
    if (!confirmDiscard("Open Scene"))
        return;
    std::string chosen;
    if (!mvk::platform::interaction().openFileName(this, "Open Scene", dialogFolder(),
                                                   SceneFilter, chosen) ||
        chosen.empty())
        return;
    if (!openScene(chosen))
        showError("Open Scene");
    else
        statusBar()->showMessage("Opened " + QString::fromStdString(chosen), 4000);
}

bool HostWindow::chooseSaveAs() {
    std::string chosen;
    const std::string start =
        path.empty() ? dialogFolder() + "/untitled.qvscene" : path;
    if (!mvk::platform::interaction().saveFileName(this, "Save Scene As", start, SceneFilter,
                                                   chosen) ||
        chosen.empty())
        return false;
    if (std::filesystem::path(chosen).extension().empty())
        chosen += ".qvscene";
    if (!saveScene(chosen)) {
        showError("Save Scene");
        return false;
    }
    statusBar()->showMessage("Saved " + QString::fromStdString(chosen), 4000);
    return true;
}

bool HostWindow::save() {
    if (path.empty())
        return chooseSaveAs();
    if (!saveScene(path)) {
        showError("Save Scene");
        return false;
    }
    statusBar()->showMessage("Saved " + QString::fromStdString(path), 4000);
    return true;
}

// ---- Unsaved changes ------------------------------------------------------------------------

std::string HostWindow::sceneState() { return file.text(false); }

void HostWindow::noteSceneSaved() {
    savedState = sceneState();
    modified = false;
    updateTitle();
}

bool HostWindow::isModified() {
    modified = sceneState() != savedState;
    return modified;
}

bool HostWindow::confirmDiscard(const QString& action) {
    if (!isModified()) {
        updateTitle();
        return true;
    }
    updateTitle();
    // Nobody could answer: a headless run goes on as asked (a script of its own still answers).
    if (mvk::platform::isHeadless() && !mvk::platform::hasInstalledResponder())
        return true;
    namespace Flag = mvk::platform::MessageBoxFlag;
    const std::string name =
        path.empty() ? "untitled" : std::filesystem::path(path).filename().string();
    const int answer = mvk::platform::interaction().messageBox(
        this, "The scene " + name + " has unsaved changes. Save them before " +
                  action.toLower().toStdString() + "?",
        action.toStdString(), Flag::Save | Flag::Discard | Flag::Cancel | Flag::IconWarning);
    if (answer == static_cast<int>(Flag::Save))
        return save();
    return answer == static_cast<int>(Flag::Discard);
}

void HostWindow::noteSettingChanged() {
    isModified();
    updateTitle();
    refresh();
}

void HostWindow::afterUndoStackChange() {
    changeQueued = false;
    const std::vector<std::string>& gone = host.scene.deletions();
    if (static_cast<int>(gone.size()) > seenDeletions) {
        QStringList names;
        for (size_t i = static_cast<size_t>(seenDeletions); i < gone.size(); ++i)
            names << QString::fromStdString(gone[i]);
        statusBar()->showMessage("Deleted " + names.join(", ") +
                                     " with its keys. Edit > Undo (Ctrl+Z) brings it back.",
                                 8000);
    }
    seenDeletions = static_cast<int>(gone.size());
    isModified();
    updateTitle();
    refresh();
}

void HostWindow::showTake(const mvk::qvn::TakeReport& take) {
    const int number = static_cast<int>(takes.takes().size());
    if (take.samples == 0) {
        // Nothing was recorded, so there is nothing to take back either.
        host.undoStack.dropLast("Record");
        statusBar()->showMessage(
            QString("Take %1 recorded nothing (stopped before its first sample); no undo step "
                    "was made.")
                .arg(number),
            8000);
        return;
    }
    const double seconds = take.lastSampleTime - take.firstSampleTime;
    statusBar()->showMessage(QString("Take %1: %2 s, %3 samples, %4 late")
                                 .arg(number)
                                 .arg(seconds, 0, 'f', 1)
                                 .arg(take.samples)
                                 .arg(take.lateSamples),
                             8000);
}

void HostWindow::showError(const QString& title) {
    QMessageBox::warning(this, title, QString::fromStdString(error));
}

void HostWindow::updateTitle() {
    const std::string name =
        path.empty() ? "untitled" : std::filesystem::path(path).filename().string();
    setWindowTitle(QString::fromStdString(name) + (modified ? "*" : "") +
                   " - Quorvane Reference Host");
}

// ---- Undo -----------------------------------------------------------------------------------

void HostWindow::undo() {
    if (core.isRecording() || host.undoStack.stepCount() == 0)
        return;
    const QString name =
        QString::fromStdString(host.undoStack.stepName(host.undoStack.stepCount() - 1));
    if (!host.undoStack.undo())
        return;
    statusBar()->showMessage("Undone: " + name, 3000);
    refresh();
}

void HostWindow::redo() {
    if (core.isRecording() || !host.undoStack.redo())
        return;
    statusBar()->showMessage(
        "Redone: " +
            QString::fromStdString(host.undoStack.stepName(host.undoStack.stepCount() - 1)),
        3000);
    refresh();
}

// ---- Time -----------------------------------------------------------------------------------

void HostWindow::setTime(double seconds) {
    if (core.isRecording())
        return;
    host.setTime(seconds);
    core.updateInstances(seconds);
    refresh();
}

void HostWindow::play() {
    if (core.isRecording() || isPlaying())
        return;
    if (host.time >= host.rangeEnd)
        setTime(host.rangeStart);
    wallClock.start();
    playTimer.start(PlaybackInterval);
    refresh();
}

void HostWindow::stop() {
    playTimer.stop();
    refresh();
}

void HostWindow::advancePlayback() {
    if (core.isRecording()) {
        stop();
        return;
    }
    const double span = host.rangeEnd - host.rangeStart;
    double next = host.time + wallClock.restart() / 1000.0;
    if (next > host.rangeEnd && span > 0)
        next = host.rangeStart + std::fmod(next - host.rangeStart, span);
    setTime(next);
}

// ---- Views ----------------------------------------------------------------------------------

void HostWindow::setView(View chosen) {
    view->setView(chosen);
    const int index = static_cast<int>(chosen);
    viewChooser->setCurrentIndex(index);
    viewActions->actions().at(index)->setChecked(true);
}

void HostWindow::selectNode(const std::string& name) {
    view->setSelectedNode(name);
    time->setSelectedNode(name);
}

std::string HostWindow::defaultNode() const {
    std::string first;
    for (RefNode* node : host.scene.nodes()) {
        if (!node->transformKeys().empty())
            return node->getName();
        if (first.empty())
            first = node->getName();
    }
    return first;
}

void HostWindow::openTools() {
    core.openMainDialog();
}

void HostWindow::refresh() {
    if (host.scene.find(view->selectedNode()) == nullptr)
        selectNode(defaultNode());
    const bool recording = core.isRecording();
    time->setScrubbingEnabled(!recording);
    playButton->setEnabled(!recording);
    playButton->setIcon(
        style()->standardIcon(isPlaying() ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
    menuBar()->actions().front()->setEnabled(!recording);
    undoAction->setEnabled(!recording && host.undoStack.stepCount() > 0);
    redoAction->setEnabled(!recording && host.undoStack.canRedo());
    clock->setText(clockText(host.time, host.frameRate, host.rangeStart));
    for (auto [box, value] : {std::pair{rangeStart, host.rangeStart}, {rangeEnd, host.rangeEnd}})
        if (!box->hasFocus() && box->value() != value) {
            const QSignalBlocker quiet(box);
            box->setValue(value);
        }
    int rate = frameRate->findData(host.frameRate);
    if (rate < 0) {
        frameRate->addItem(QString::number(host.frameRate) + " fps", host.frameRate);
        rate = frameRate->count() - 1;
    }
    frameRate->setCurrentIndex(rate);
    if (recording)
        statusBar()->showMessage("Recording...", RefreshInterval * 3);
    view->update();
    time->update();
    shown = shownState();
}

HostWindow::Shown HostWindow::shownState() const {
    size_t keys = 0;
    for (RefNode* node : host.scene.nodes())
        keys += node->transformKeys().size();
    return Shown{host.time,
                 host.rangeStart,
                 host.rangeEnd,
                 host.frameRate,
                 host.redraws,
                 host.evaluations,
                 host.undoStack.stepCount(),
                 host.scene.count(),
                 keys,
                 host.notices.size(),
                 host.undoStack.canRedo(),
                 core.isRecording(),
                 isPlaying()};
}

void HostWindow::tick() {
    if (shownState() != shown) {
        refresh();
        wakeUp();
        return;
    }
    if (refreshTimer.interval() != IdleInterval && quiet.elapsed() > QuietAfter)
        refreshTimer.setInterval(IdleInterval);
}

void HostWindow::wakeUp() {
    quiet.restart();
    if (refreshTimer.interval() != RefreshInterval)
        refreshTimer.start(RefreshInterval);
}

void HostWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Back from the core's windows: bindings and settings may have changed the scene.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        isModified();
        updateTitle();
    }
}

void HostWindow::closeEvent(QCloseEvent* event) {
    // A take in progress ends as it would with the stop button: what it recorded is kept.
    if (core.isRecording())
        core.stopRecording();
    if (core.isRecording() || !confirmDiscard("Quit")) {
        event->ignore();
        return;
    }
    playTimer.stop();
    refreshTimer.stop();
    core.closeMainDialog();
    event->accept();
    QCoreApplication::quit();
}

} // namespace qvn::host
