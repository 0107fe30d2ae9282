#include "core/windows/InputProfileCommands.h"

#include "core/instances/Instance.h"
#include "core/libraries/XMLFileManager.h"
#include "gui/MessageBox.h"
#include "platform/Interaction.h"
#include "util/xml/Element.h"

namespace mvk::qvn::core {

using platform::MessageBoxFlag::IconCritical;
using platform::MessageBoxFlag::IconInformation;
using platform::MessageBoxFlag::IconQuestion;
using platform::MessageBoxFlag::No;
using platform::MessageBoxFlag::Ok;
using platform::MessageBoxFlag::Yes;
using util::xml::Element;

namespace {

constexpr const char* Filter = "Morvik Input Profiles (*.mip)";
constexpr const char* ImportFilter = "Morvik Input Profiles (*.mip);;All files (*.*)";
constexpr const char* NewNamePrompt = "Select a new name";
constexpr const char* ReadOnlyText =
    "The specified profile is considered read-only and cannot be overwritten.";
constexpr const char* NotSavedText = "The profile could not be saved";
constexpr const char* NotImportedText = "The profile could not be imported.";
constexpr const char* NoSelectionText = "Please select or specify a profile";

} // namespace

InputProfileCommands::InputProfileCommands(Instance& instance, XMLFileManager& store,
                                           QWidget* owner)
    : instance(&instance), profiles(store), owner(owner) {}

bool InputProfileCommands::hasForbiddenCharacters(const std::string& name) {
    return name.find_first_of("*?\"/\\[]:;|=,.><") != std::string::npos;
}

std::string InputProfileCommands::forbiddenCharactersText(const std::string& name) {
    return name + " - name contains forbidden characters. \n The following characters are not "
                  "allowed: \\ / : * ? \" < > | . , [ ] ; =";
}

bool InputProfileCommands::isExample(const std::string& name) {
    return name.rfind("Example:", 0) == 0;
}

// Installed profiles are not protected: saving one writes the user's own copy, which hides the
// installed file from then on.
bool InputProfileCommands::isReadOnly(const std::string& name) const {
    return isExample(name) || profiles.isReserved(name);
}

void InputProfileCommands::inform(const std::string& text) {
    gui::messageBox(owner, text, Caption, Ok | IconInformation, false);
}

void InputProfileCommands::fail(const std::string& text) {
    gui::messageBox(owner, text, ErrorCaption, Ok | IconCritical, false);
}

bool InputProfileCommands::confirmOverwrite(const std::string& name) {
    const std::string text =
        "This will overwrite the profile " + name + ", do you wish to continue?";
    return gui::messageBox(owner, text, "Overwrite?", Yes | No | IconQuestion, true) == Yes;
}

bool InputProfileCommands::save(const std::string& name) {
    statusText.clear();
    if (name.empty()) {
        inform("Please specify a profile");
        return false;
    }
    if (isReadOnly(name)) {
        fail(std::string(ReadOnlyText) + "\nPlease specify another profile name");
        return false;
    }
    if (!profiles.hasElement(name) && hasForbiddenCharacters(name)) {
        fail(forbiddenCharactersText(name));
        return false;
    }
    if (profiles.hasElement(name) && !confirmOverwrite(name))
        return false;
    return store(name);
}

bool InputProfileCommands::store(const std::string& name) {
    if (instance == nullptr)
        return false;
    const Element profile = instance->makeInputProfile(name);
    const int result = profiles.addElement(profile, true, false);
    if (result == XMLFileManager::Refused) {
        fail(std::string(ReadOnlyText) + "\nPlease specify another profile name");
        return false;
    }
    if (result != XMLFileManager::Done) {
        fail(NotSavedText);
        return false;
    }
    // The instance now carries the profile's name; its bindings are those just stored.
    instance->applyInputProfile(profiles.elementByName(name));
    return true;
}

std::optional<std::string> InputProfileCommands::askName(const std::string& caption,
                                                         const std::string& prompt,
                                                         const std::string& proposal) {
    std::string label = prompt;
    std::string text = proposal;
    for (;;) {
        if (!platform::interaction().textInput(owner, caption, label, text) || text.empty())
            return std::nullopt;
        if (hasForbiddenCharacters(text)) {
            label = forbiddenCharactersText(text);
            continue;
        }
        if (!profiles.hasElement(text) || confirmOverwrite(text))
            return text;
        label = text + " - name already exists.";
    }
}

bool InputProfileCommands::saveAsNew() {
    statusText.clear();
    const std::optional<std::string> name =
        askName("Save profile as...", NewNamePrompt, "New profile");
    if (!name)
        return false;
    if (isReadOnly(*name)) {
        fail(std::string(ReadOnlyText) + "\nPlease specify another profile name");
        return false;
    }
    return store(*name);
}

std::optional<int> InputProfileCommands::load(const std::string& name) {
    statusText.clear();
    if (!profiles.hasElement(name)) {
        inform(NoSelectionText);
        return std::nullopt;
    }
    if (instance == nullptr)
        return std::nullopt;
    return instance->applyInputProfile(profiles.elementByName(name));
}

int InputProfileCommands::importProfiles() {
    statusText.clear();
    std::string path;
    if (!platform::interaction().openFileName(owner, "Import profile", profiles.destinationPath(),
                                              ImportFilter, path))
        return 0;
    const std::vector<Element> found = profiles.readProfiles(path);
    if (found.empty()) {
        fail(NotImportedText);
        return 0;
    }
    int stored = 0;
    for (const Element& profile : found)
        stored += importOne(profile) ? 1 : 0;
    return stored;
}

bool InputProfileCommands::importOne(Element profile) {
    std::string name = profile.attribute("name");
    if (profiles.hasElement(name)) {
        if (isReadOnly(name)) {
            fail("The specified profile already exists and cannot be overwritten.");
            return false;
        }
        const std::string text = "A profile with the name " + name +
                                 " already exists. This will overwrite that profile, do you "
                                 "wish to continue?";
        if (gui::messageBox(owner, text, "Overwrite?", Yes | No | IconQuestion, true) != Yes) {
            // Declining keeps the stored profile; the imported one may still come in under
            // another name.
            const std::optional<std::string> other = askName("Import profile", NewNamePrompt, name);
            if (!other || isReadOnly(*other))
                return false;
            name = *other;
            profile.attribute("name") = name;
        }
    }
    if (profiles.addElement(profile, true, false) != XMLFileManager::Done) {
        fail(NotImportedText);
        return false;
    }
    return true;
}

bool InputProfileCommands::exportProfile(const std::string& selected) {
    statusText.clear();
    std::string path;
    if (!platform::interaction().saveFileName(owner, "Export profile", profiles.destinationPath(),
                                              Filter, path))
        return false;
    const bool present = selected.empty() || !profiles.hasElement(selected);
    if (present && instance == nullptr)
        return false;
    const Element profile = present ? instance->makeInputProfile(instance->getInputProfileName())
                                    : profiles.elementByName(selected);
    // The store names the written profile after the file.
    if (!profiles.exportElement(profile, path)) {
        fail(NotSavedText);
        return false;
    }
    return true;
}

std::optional<std::string> InputProfileCommands::rename(const std::string& name) {
    statusText.clear();
    if (name.empty() || !profiles.hasElement(name)) {
        inform(NoSelectionText);
        return std::nullopt;
    }
    if (isExample(name)) {
        fail("Cannot rename example profiles.");
        return std::nullopt;
    }
    if (isReadOnly(name)) {
        fail("Cannot rename this profile.");
        return std::nullopt;
    }
    const std::optional<std::string> newName = askName("Rename", "Set a new name", name);
    if (!newName)
        return std::nullopt;
    if (isReadOnly(*newName) || profiles.renameElement(name, *newName) != XMLFileManager::Done) {
        fail("The specified profile could not be renamed, please try with another name.");
        return std::nullopt;
    }
    if (instance != nullptr && instance->getInputProfileName() == name)
        instance->applyInputProfile(profiles.elementByName(*newName));
    return newName;
}

bool InputProfileCommands::remove(const std::string& name) {
    statusText.clear();
    if (name.empty() || !profiles.hasElement(name)) {
        inform(NoSelectionText);
        return false;
    }
    if (isReadOnly(name)) {
        fail("The specified profile is considered read-only and cannot be deleted.");
        return false;
    }
    const std::string question = "Do you really want to delete the profile: " + name;
    if (gui::messageBox(owner, question, Caption, Yes | No | IconQuestion, true) != Yes)
        return false;
    if (profiles.removeElement(name) != XMLFileManager::Done) {
        fail("The profile could not be deleted");
        return false;
    }
    return true;
}

bool InputProfileCommands::saveAsStartProfile() {
    statusText.clear();
    const std::string name = XMLFileManager::StartProfile;
    if (isReadOnly(name)) {
        fail(ReadOnlyText);
        return false;
    }
    if (instance == nullptr)
        return false;
    if (profiles.addElement(instance->makeInputProfile(name), true, false) !=
        XMLFileManager::Done) {
        fail(NotSavedText);
        return false;
    }
    statusText = StartProfileSaved;
    return true;
}

} // namespace mvk::qvn::core
