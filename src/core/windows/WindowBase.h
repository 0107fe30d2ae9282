#pragma once
// The common base of the core's windows: owns the root component built from the window's layout
// file and receives the events of the components it listens to.
#include "util/DynamicObject.h"
#include "util/MessageNode.h"

#include <cstdint>
#include <string>

namespace mvk::gui {
class Component;
}

namespace mvk::util::xml {
class Element;
}

namespace mvk::qvn::core {

class WindowBase : public util::DynamicObject, public util::MessageNode {
public:
    explicit WindowBase(std::string name);
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // Slot order matters: windows are reached through it from code built elsewhere.
    void destroy() override;
    // Hides the root, then destroys it with all its components.
    ~WindowBase() override;
    virtual void onWindowHook() {}
    virtual void hideWindow();
    // Shows a dialog that is not visible and activates its window.
    virtual void bringToFront();
    // False without a root.
    virtual bool isWindowShown() const;

    gui::Component* getRoot() const { return root; }
    // The component of the window with that id, or null (also without a root).
    gui::Component* find(int32_t id) const;

    // The layout file of the core's data: the data folder + "/core/layout/" + `fileName`.
    static std::string layoutPath(const std::string& fileName);
    // The folder "[images]" stands for in the core's windows.
    static std::string imageFolder();
    // The element below `layout` (or `layout` itself) whose "id" is `id`, depth first; null
    // when there is none.
    static util::xml::Element* elementById(util::xml::Element& layout, int32_t id);

protected:
    // Reads the layout, builds the root with the first component factory that accepts the root
    // element, registers "[images]" on it and listens to it. Replaces an earlier root. False
    // when the file cannot be read or no factory builds a root; the window then stays empty.
    bool loadLayout(const std::string& fileName);
    // As loadLayout(), from a layout already read.
    bool buildLayout(const util::xml::Element& layout);
    // Takes an already built root (or null) in place of the present one.
    void adoptRoot(gui::Component* component);
    // Hides and destroys the root; the window is empty afterwards.
    void destroyRoot();
    // Listens to the component with that id; false when the window has no such component.
    bool listenTo(int32_t id);
    // A message box owned by the window's root.
    int32_t messageBox(const std::string& text, const std::string& caption, uint32_t flags,
                       bool force = false) const;

private:
    gui::Component* root = nullptr;
};

} // namespace mvk::qvn::core
