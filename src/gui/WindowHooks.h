#pragma once
// What happens around a top-level window of the toolkit being shown or hidden. The toolkit only
// reports; whoever installs the hooks decides where a window goes, which window it belongs to
// and what is remembered of it.
class QWidget;

namespace mvk::gui {

class WindowHooks {
public:
    virtual ~WindowHooks() = default;
    // `window` is hidden and about to be shown.
    virtual void aboutToShow(QWidget* window) = 0;
    // `window` is still visible and about to be hidden (or destroyed).
    virtual void aboutToHide(QWidget* window) = 0;
    // The window's "stay on top" state was changed while it exists.
    virtual void topmostChanged(QWidget* window, bool topmost) = 0;

    // The installed hooks, or null; not owned. Installing null removes them.
    static WindowHooks* installed();
    static void install(WindowHooks* hooks);
};

} // namespace mvk::gui
