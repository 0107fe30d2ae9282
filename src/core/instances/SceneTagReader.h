#pragma once
// Rebuilds instances from the tags SceneTagWriter stores in the host scene and in pre-rigged
// model files.
#include "util/xml/Element.h"

#include <string>
#include <vector>

namespace mvk::qvn {
struct CMesh;
}

namespace mvk::qvn::core {

class Instance;
class InstanceReference;
class Tool;

class SceneTagReader {
public:
    // The instance tree stored in `tag` (a "QVT_Plugin", plain or compressed), named
    // `requestedName` or else the stored name; null when the tag's own instance cannot be made.
    // The caller owns the result, which is attached to no parent.
    InstanceReference* restore(const util::xml::Element& tag, const std::string& requestedName);
    // The tags skipped because their tool is missing or their instance would not start.
    const std::vector<util::xml::Element>& failedTags() const { return failed; }

    // A compressed tag's content; any other element as it is.
    static util::xml::Element expand(const util::xml::Element& tag);
    // Reads the entries of a binary mesh record (after Base64) into `mesh`, whose arrays are
    // made with new[]; false, with `mesh` untouched, for a truncated or inconsistent message.
    static bool readMeshMessage(const std::string& bytes, CMesh& mesh);
    // The message box text for nodes of `instanceName` that the scene lacks.
    static std::string missingNodesText(const std::string& instanceName,
                                        const std::vector<std::string>& nodeNames);

private:
    // One stored instance without its children; null when its instance cannot be made.
    InstanceReference* restoreOne(const util::xml::Element& tag, const std::string& name);
    Instance* startInstance(const util::xml::Element& tag, Tool& tool, const std::string& name);
    void applyStoredState(Instance& instance, const util::xml::Element& tag);
    void findNodes(Instance& instance, const util::xml::Element& nodeInfo);
    // One curve per "input" child, each read from its Base64 block.
    static void readRecordedInputValues(Instance& instance, const util::xml::Element& values);

    std::vector<util::xml::Element> failed;
};

} // namespace mvk::qvn::core
