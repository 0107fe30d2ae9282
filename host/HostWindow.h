#pragma once
// The reference host's window for a person: a viewport on the scene, a timeline with play and
// stop, the frame rate and the animation range, File and Edit menus for the scene file and the
// host's undo, and the way into the core's tools.
#include "RefHost.h"
#include "SceneFile.h"
#include "TakeWatcher.h"
#include "ViewProjection.h"
#include "sdk/CoreInterface.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include <string>

class QAction;
class QActionGroup;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QToolButton;

namespace qvn::host {

class Timeline;
class Viewport;

class HostWindow : public QMainWindow {
public:
    HostWindow(mvk::qvn::CoreInterface& core, RefHost& host, QWidget* parent = nullptr);
    ~HostWindow() override;

    Viewport& viewport() const { return *view; }
    Timeline& timeline() const { return *time; }

    // The scene file commands without their dialogs; false with the reason in lastError().
    // A scene is neither replaced nor emptied while the core records into it.
    bool newScene();
    bool openScene(const std::string& path);
    bool saveScene(const std::string& path);
    const std::string& lastError() const { return error; }
    const std::string& scenePath() const { return path; }

    // Whether the scene differs from the file it was last saved to or opened from (or from an
    // empty scene). The title carries a "*" while it does.
    bool isModified();
    // Before `action` throws the open scene away: asks Save / Discard / Cancel when there are
    // unsaved changes; true when the action may go on. A headless run never asks and goes on.
    bool confirmDiscard(const QString& action);
    // The folder file dialogs start in: the current scene's, else the user's documents.
    std::string dialogFolder() const;

    // Moves the host's clock, as scrubbing does; ignored while the core records.
    void setTime(double seconds);
    void play();
    void stop();
    bool isPlaying() const { return playTimer.isActive(); }
    void openTools();
    // Shows this node highlighted with its keys on the timeline.
    void selectNode(const std::string& name);
    // Redraws the views and brings the controls in line with the host's state.
    void refresh();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void keepKeysForTheScene();
    QWidget* buildTransport();
    void chooseOpen();
    // False when the scene was not saved (cancelled or failed).
    bool chooseSaveAs();
    bool save();
    void noteSettingChanged();
    void undo();
    void redo();
    void setView(View view);
    // A node worth showing keys of when the user has picked none.
    std::string defaultNode() const;
    void advancePlayback();
    void updateTitle();
    // The scene as its file would hold it, leaving out the clock's present time (moving the
    // playhead changes nothing worth saving).
    std::string sceneState();
    void noteSceneSaved();
    // After the undo stack changed: says what was deleted and updates title and views. Runs
    // from the event loop, never inside the core's own operation.
    void afterUndoStackChange();
    void showTake(const mvk::qvn::TakeReport& take);
    // False, with the reason in lastError(), while a take or a resimulation runs.
    bool sceneIsFree();
    void showError(const QString& title);

    // What the window shows of the host and the core, cheap to take: the tick compares it and
    // refreshes only when something moved, so an idle host draws nothing.
    struct Shown {
        double time, rangeStart, rangeEnd, frameRate;
        int redraws, evaluations, undoSteps, nodes;
        size_t keys, notices;
        bool canRedo, recording, playing;
        bool operator==(const Shown&) const = default;
    };
    Shown shownState() const;
    // The refresh tick: fast while anything changes or the user works, slow after a quiet spell.
    void tick();
    void wakeUp();

    mvk::qvn::CoreInterface& core;
    RefHost& host;
    SceneFile file;
    std::string path;
    std::string error;
    Viewport* view = nullptr;
    Timeline* time = nullptr;
    QComboBox* viewChooser = nullptr;
    QToolButton* playButton = nullptr;
    QLabel* clock = nullptr;
    QDoubleSpinBox* rangeStart = nullptr;
    QDoubleSpinBox* rangeEnd = nullptr;
    QComboBox* frameRate = nullptr;
    QActionGroup* viewActions = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QTimer playTimer;
    QTimer refreshTimer;
    QElapsedTimer wallClock;
    TakeWatcher takes;
    std::string savedState;
    bool modified = false;
    bool changeQueued = false;
    int seenDeletions = 0;
    QElapsedTimer quiet;
    Shown shown{};
};

} // namespace qvn::host
