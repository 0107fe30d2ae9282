#pragma once
// The reference host's scene file: the host's clock, its nodes with their keys, and the core's
// scene tag, in one XML file. A file is checked whole before the open scene is touched, so a
// file that cannot be read never costs the user the scene they have.
#include "RefHost.h"
#include "sdk/CoreInterface.h"
#include "util/xml/Element.h"

#include <string>

namespace qvn::host {

class SceneFile {
public:
    SceneFile(mvk::qvn::CoreInterface& core, RefHost& host) : core(core), host(host) {}

    // The open scene as the file holds it; without `withTime`, as it would be with the clock at
    // 0 and without the clock's present time.
    std::string text(bool withTime);
    // Writes the open scene to `path`; false with `error` set when it cannot be written.
    bool save(const std::string& path, std::string& error);
    // Replaces the open scene by the one in `path`; false with `error` set, and the open scene
    // unchanged, when the file cannot be read or is no scene file.
    bool load(const std::string& path, std::string& error);
    // An empty scene: no tools, no nodes, nothing to undo, the clock at its defaults.
    void clear();

private:
    mvk::util::xml::Element document(bool withTime);

    mvk::qvn::CoreInterface& core;
    RefHost& host;
};

} // namespace qvn::host
