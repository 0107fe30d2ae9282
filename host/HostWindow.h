#pragma once
// The reference host's window for a person: a viewport on the scene, a timeline with play and
// stop, the frame rate and the animation range, File and Edit menus for the scene file and the
// host's undo, and the way into the core's tools.
#include "RefHost.h"
#include "SceneFile.h"
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
    // Watches the user's input anywhere in the application: it wakes the refresh tick.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    QWidget* buildTransport();
    void chooseOpen();
    void chooseSaveAs();
    void save();
    void undo();
    void redo();
    void setView(View view);
    // A node worth showing keys of when the user has picked none.
    std::string defaultNode() const;
    void advancePlayback();
    void updateTitle();
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
    QElapsedTimer quiet;
    Shown shown{};
};

} // namespace qvn::host
