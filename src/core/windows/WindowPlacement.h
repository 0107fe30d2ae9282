#pragma once
// Where the core's windows open, which window each belongs to, and what is remembered of them.
//
// "Windows stay on top" is read the way a Linux desktop can honour it without hurting the host:
// the main dialog is a transient child of the host's main window, so the window manager keeps it
// above that window (and minimises it with it) but never above the host's own menus, prompts or
// other programs. Every other core window is a transient child of the window that opened it, so
// no dialog can open underneath its parent. A desktop-wide always-on-top flag is never used.
//
// Geometry is remembered per host in the host's data folder ("windows.xml") by window name, and
// a stored geometry comes back only while it still lies on a connected screen.
#include "gui/WindowHooks.h"

#include <QPointer>
#include <QRect>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class QWindow;

namespace mvk::qvn::core {

class WindowPlacement : public gui::WindowHooks {
public:
    // The object name of the main dialog's widget; it is placed beside the host window.
    static constexpr const char* MainWindowName = "MainWindow";
    // The countdown is centred on the host window and never remembered.
    static constexpr const char* CountdownName = "CountdownWindow";
    // Gap between the host window and the main dialog beside it.
    static constexpr int Gap = 8;

    // `hostHandle` answers the host's main window handle (0: none); `folder` where
    // "windows.xml" is kept (empty: nothing is remembered), asked when first needed.
    WindowPlacement(std::function<uint32_t()> hostHandle, std::function<std::string()> folder);
    ~WindowPlacement() override;

    void aboutToShow(QWidget* window) override;
    void aboutToHide(QWidget* window) override;
    void topmostChanged(QWidget* window, bool topmost) override;

    // The host's main window: one of this process's windows with that id, else a foreign window
    // for it; null for 0 or an id that names no window the display knows.
    QWindow* hostWindow();
    // The geometry remembered for a window name, if any.
    std::optional<QRect> remembered(const std::string& name) const;

    // Frame rectangles (window plus decoration) of the first placements, inside `available`.
    // Beside `host` to its right when there is room, else against the screen's right edge.
    static QRect besideHost(const QRect& host, const QSize& frame, const QRect& available);
    static QRect centredOn(const QRect& opener, const QSize& frame, const QRect& available);
    // A stored client rectangle as it may come back on `screens` (available areas): unchanged
    // when one screen holds it whole, moved and shrunk onto the screen that holds its title
    // strip, or nothing when no screen does.
    static std::optional<QRect> onScreens(const QRect& stored, const std::vector<QRect>& screens,
                                          const QSize& minimum = {});

private:
    void load();
    void save() const;
    // The window that opened `window`: the active other window, else the visible main dialog,
    // else the host window.
    QWindow* openerOf(QWidget* window);
    void setOwner(QWidget* window, QWindow* owner);
    void place(QWidget* window, QWindow* opener);
    // The on-screen rectangle of `window` with its decoration (foreign windows have none known).
    QRect frameOf(QWindow* window) const;

    std::function<uint32_t()> hostHandle;
    std::function<std::string()> folder;
    std::string filePath;
    bool loaded = false;
    std::map<std::string, QRect> geometry;
    QPointer<QWindow> foreign;
    uint32_t foreignId = 0;
    QPointer<QWidget> mainDialog;
};

} // namespace mvk::qvn::core
