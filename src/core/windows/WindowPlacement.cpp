#include "core/windows/WindowPlacement.h"

#include "gui/Component.h"
#include "gui/componentinterface/Dialog.h"
#include "platform/NativeWindow.h"
#include "util/xml/Element.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace mvk::qvn::core {

namespace {

constexpr const char* FileName = "/windows.xml";
// The part of a window's top that must lie on a screen for the window to be dragged back.
constexpr int TitleStrip = 32;

bool isTopmost(QWidget* window) {
    auto* dialog =
        gui::interfaceOf<gui::componentinterface::Dialog>(dynamic_cast<gui::Component*>(window));
    return dialog != nullptr && dialog->isTopmost();
}

std::vector<QRect> availableAreas() {
    std::vector<QRect> areas;
    for (QScreen* screen : QGuiApplication::screens())
        areas.push_back(screen->availableGeometry());
    return areas;
}

QRect availableAround(const QRect& rect) {
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

// Moves `frame` inside `available` (its top-left corner wins when it is larger).
QRect inside(QRect frame, const QRect& available) {
    if (available.isEmpty())
        return frame;
    frame.moveLeft(
        std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width())));
    frame.moveTop(
        std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height())));
    return frame;
}

int toInt(const std::string& text, bool& ok) {
    try {
        size_t used = 0;
        const int value = std::stoi(text, &used);
        ok = ok && used == text.size();
        return value;
    } catch (...) {
        ok = false;
        return 0;
    }
}

} // namespace

WindowPlacement::WindowPlacement(std::function<uint32_t()> handle,
                                 std::function<std::string()> dataFolder)
    : hostHandle(std::move(handle)), folder(std::move(dataFolder)) {}

WindowPlacement::~WindowPlacement() {
    delete foreign.data();
}

// ---- Pure placement rules ---------------------------------------------------------------------

QRect WindowPlacement::besideHost(const QRect& host, const QSize& frame, const QRect& available) {
    QSize size = frame;
    if (!available.isEmpty())
        size = size.boundedTo(available.size());
    QRect placed(QPoint(host.right() + 1 + Gap, host.top()), size);
    // Without room on the right it goes over the host's right edge, still wholly on screen.
    return inside(placed, available);
}

QRect WindowPlacement::centredOn(const QRect& opener, const QSize& frame, const QRect& available) {
    QRect placed(QPoint(), frame);
    placed.moveCenter(opener.center());
    return inside(placed, available);
}

std::optional<QRect> WindowPlacement::onScreens(const QRect& stored,
                                                const std::vector<QRect>& screens,
                                                const QSize& minimum) {
    if (stored.isEmpty())
        return std::nullopt;
    for (const QRect& area : screens)
        if (area.contains(stored))
            return stored;
    const QRect title(stored.left(), stored.top(), stored.width(),
                      std::min(TitleStrip, stored.height()));
    for (const QRect& area : screens) {
        if (!area.intersects(title))
            continue;
        QSize size = stored.size().boundedTo(area.size()).expandedTo(minimum);
        return inside(QRect(stored.topLeft(), size), area);
    }
    return std::nullopt;
}

// ---- The host's window -------------------------------------------------------------------------

QWindow* WindowPlacement::hostWindow() {
    const uint32_t handle = hostHandle ? hostHandle() : 0;
    if (handle == 0)
        return nullptr;
    // A host drawn with this process's Qt: its own window, with its real frame.
    for (QWindow* window : QGuiApplication::allWindows())
        if (window->handle() != nullptr && window != foreign.data() &&
            window->type() != Qt::ForeignWindow && window->winId() == handle)
            return window;
    // Another toolkit's window (Blender's, say): only one the display knows is an owner.
    QRect area;
    if (!platform::nativeWindowArea(handle, area)) {
        delete foreign.data();
        foreign = nullptr;
        return nullptr;
    }
    if (foreign.isNull() || foreignId != handle) {
        delete foreign.data();
        foreignId = handle;
        foreign = QWindow::fromWinId(handle);
    }
    return foreign.data();
}

QRect WindowPlacement::frameOf(QWindow* window) const {
    if (window == nullptr)
        return {};
    // Qt knows nothing of a foreign window's place; the display does.
    if (window->type() == Qt::ForeignWindow) {
        QRect area;
        return platform::nativeWindowArea(static_cast<uint32_t>(window->winId()), area) ? area
                                                                                         : QRect();
    }
    return window->frameGeometry();
}

QWindow* WindowPlacement::openerOf(QWidget* window) {
    if (QWidget* active = QApplication::activeWindow();
        active != nullptr && active != window && active->isVisible())
        return active->windowHandle();
    if (!mainDialog.isNull() && mainDialog.data() != window && mainDialog->isVisible())
        return mainDialog->windowHandle();
    return hostWindow();
}

// ---- Showing and hiding ------------------------------------------------------------------------

void WindowPlacement::setOwner(QWidget* window, QWindow* owner) {
    window->winId();
    QWindow* handle = window->windowHandle();
    if (handle == nullptr)
        return;
    // A window that already owns the would-be owner keeps its own owner: a loop of owners
    // would leave the window manager no order to keep.
    for (QWindow* above = owner; above != nullptr; above = above->transientParent())
        if (above == handle)
            return;
    handle->setTransientParent(owner);
}

void WindowPlacement::aboutToShow(QWidget* window) {
    const std::string name = window->objectName().toStdString();
    const bool isMain = name == MainWindowName;
    const bool isCountdown = name == CountdownName;
    if (isMain)
        mainDialog = window;
    QWindow* opener = isMain || isCountdown ? hostWindow() : openerOf(window);
    if (isCountdown && opener == nullptr)
        opener = openerOf(window);
    setOwner(window, isMain && !isTopmost(window) ? nullptr : opener);
    load();
    if (!isCountdown && !name.empty()) {
        if (std::optional<QRect> stored = remembered(name)) {
            if (std::optional<QRect> fitted =
                    onScreens(*stored, availableAreas(), window->minimumSize())) {
                window->setGeometry(*fitted);
                return;
            }
        }
    }
    place(window, opener);
}

void WindowPlacement::place(QWidget* window, QWindow* opener) {
    // Before its first showing a window has no decoration yet; the opener's, drawn by the same
    // window manager, is the best guess.
    QMargins margins;
    if (opener != nullptr && opener->type() != Qt::ForeignWindow)
        margins = opener->frameMargins();
    window->ensurePolished();
    QSize size = window->size();
    if (window->layout() != nullptr && !window->testAttribute(Qt::WA_Resized))
        size = size.expandedTo(window->sizeHint());
    const QSize frame(size.width() + margins.left() + margins.right(),
                      size.height() + margins.top() + margins.bottom());
    const QRect openerFrame = frameOf(opener);
    QRect placed;
    if (openerFrame.isEmpty()) {
        QScreen* screen = QGuiApplication::primaryScreen();
        const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
        placed = centredOn(available, frame, available);
    } else if (window->objectName() == MainWindowName) {
        placed = besideHost(openerFrame, frame, availableAround(openerFrame));
    } else {
        placed = centredOn(openerFrame, frame, availableAround(openerFrame));
    }
    const QSize client(
        std::max(placed.width() - margins.left() - margins.right(), window->minimumWidth()),
        std::max(placed.height() - margins.top() - margins.bottom(), window->minimumHeight()));
    window->resize(client);
    window->move(placed.topLeft());
}

void WindowPlacement::aboutToHide(QWidget* window) {
    const std::string name = window->objectName().toStdString();
    if (name.empty() || name == CountdownName)
        return;
    load();
    geometry[name] = window->geometry();
    save();
}

void WindowPlacement::topmostChanged(QWidget* window, bool topmost) {
    // Only the main dialog's tie to the host follows the setting; the core's other windows
    // always belong to the window that opened them.
    if (window->objectName() != MainWindowName || window->windowHandle() == nullptr)
        return;
    setOwner(window, topmost ? hostWindow() : nullptr);
}

// ---- Remembering -------------------------------------------------------------------------------

std::optional<QRect> WindowPlacement::remembered(const std::string& name) const {
    const auto found = geometry.find(name);
    if (found == geometry.end())
        return std::nullopt;
    return found->second;
}

void WindowPlacement::load() {
    if (loaded)
        return;
    loaded = true;
    const std::string where = folder ? folder() : std::string();
    filePath = where.empty() ? std::string() : where + FileName;
    util::xml::Element document;
    if (filePath.empty() || document.load(filePath) != util::xml::Element::Parsed)
        return;
    document.forEachChild("window", [this](const util::xml::Element& entry) {
        bool ok = true;
        const QRect rect(toInt(entry.attribute("x"), ok), toInt(entry.attribute("y"), ok),
                         toInt(entry.attribute("width"), ok), toInt(entry.attribute("height"), ok));
        const std::string name = entry.attribute("name");
        if (ok && !name.empty() && rect.width() > 0 && rect.height() > 0)
            geometry[name] = rect;
    });
}

void WindowPlacement::save() const {
    if (filePath.empty())
        return;
    util::xml::Tag root("windows");
    for (const auto& [name, rect] : geometry) {
        util::xml::Tag entry("window");
        entry.attribute("name") = name;
        entry.attribute("x") = std::to_string(rect.x());
        entry.attribute("y") = std::to_string(rect.y());
        entry.attribute("width") = std::to_string(rect.width());
        entry.attribute("height") = std::to_string(rect.height());
        root.addChild(entry);
    }
    root.saveAtomically(filePath);
}

} // namespace mvk::qvn::core
