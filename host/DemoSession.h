#pragma once
// The scripted session `make demo` runs against the core: what a user would do first, done
// through the core interface of the loaded library, printed as it happens.
#include "DemoScreenshots.h"
#include "RefHost.h"
#include "sdk/CoreInterface.h"

#include <ostream>

class QAbstractButton;

namespace mvk::util::xml {
class Element;
}

namespace qvn::host {

class DemoSession {
public:
    DemoSession(mvk::qvn::CoreInterface& core, RefHost& host, std::ostream& out)
        : core(core), host(host), out(out) {}
    // Returns false when a step did not do what it should.
    bool run();
    // Opens the main dialog, the about box, the configuration window of the sample camera (at
    // its usual, smallest and a large size) and a message box as a user would and pictures them.
    bool showWindows(DemoScreenshots& screenshots);
    // Pictures the input settings of `instance`, and the bind prompt and the advanced settings
    // of its first input.
    bool showInputWindows(DemoScreenshots& screenshots, const std::string& instance);

private:
    // Clicks `opener`, pictures the modal window it opens (title beginning `titleStart`) from
    // inside that window's loop and closes it; false when nothing was pictured.
    bool pictureModal(DemoScreenshots& screenshots, QAbstractButton* opener, const char* titleStart,
                      const std::string& file);
    // The sample camera the session made.
    std::string camera;

    void printTree() const;
    void printTags(const mvk::util::xml::Element& tag, int depth) const;
    void printScene() const;
    void printProperties(const std::string& instance) const;

    mvk::qvn::CoreInterface& core;
    RefHost& host;
    std::ostream& out;
};

} // namespace qvn::host
