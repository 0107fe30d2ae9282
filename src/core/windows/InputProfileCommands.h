#pragma once
// The input profile commands of one instance: save, save as new, load, import, export, rename,
// delete and save as start profile, on its tool's store of input profiles. Every question and
// every failure goes to the user through the message box and interaction services; a failed
// command leaves the stored profiles as they were.
#include <optional>
#include <string>

class QWidget;

namespace mvk::util::xml {
class Element;
}

namespace mvk::qvn::core {

class Instance;
class XMLFileManager;

class InputProfileCommands {
public:
    static constexpr const char* Caption = "Morvik Quorvane";
    static constexpr const char* ErrorCaption = "Morvik Quorvane - Error";
    static constexpr const char* StartProfileSaved = "Start Profile saved";

    // `store` is the instance's tool's input profile store; both outlive the commands. Boxes
    // are owned by `owner` (may be null).
    InputProfileCommands(Instance& instance, XMLFileManager& store, QWidget* owner = nullptr);

    // Stores the present bindings under `name`, asking before overwriting; false when refused,
    // declined or failed.
    bool save(const std::string& name);
    // Asks a new name (proposing "New profile"), then saves under it.
    bool saveAsNew();
    // Applies the stored profile; the number of bindings whose control was not found, or
    // nullopt when there is no such profile.
    std::optional<int> load(const std::string& name);
    // Adds every profile of a file the user chooses; the number of profiles stored.
    int importProfiles();
    // Writes `selected` (the present bindings when empty) to a file the user chooses, named
    // after that file.
    bool exportProfile(const std::string& selected);
    // The new name, or nullopt when refused, cancelled or failed.
    std::optional<std::string> rename(const std::string& name);
    bool remove(const std::string& name);
    bool saveAsStartProfile();

    // The instance is going: a command waiting in a prompt stops when the prompt returns.
    void forgetInstance() { instance = nullptr; }

    // What the last command has to say on the dialog's status line, if anything.
    const std::string& status() const { return statusText; }

    // True when a profile name holds a character a user-given name may not hold.
    static bool hasForbiddenCharacters(const std::string& name);
    // The message for such a name.
    static std::string forbiddenCharactersText(const std::string& name);
    // Example profiles and the reserved names cannot be changed or removed.
    bool isReadOnly(const std::string& name) const;
    static bool isExample(const std::string& name);

private:
    // Asks until the user gives an acceptable name or cancels; an existing name is accepted
    // only after the user agreed to overwrite it.
    std::optional<std::string> askName(const std::string& caption, const std::string& prompt,
                                       const std::string& proposal);
    bool confirmOverwrite(const std::string& name);
    bool store(const std::string& name);
    bool importOne(util::xml::Element profile);
    void inform(const std::string& text);
    void fail(const std::string& text);

    Instance* instance;
    XMLFileManager& profiles;
    QWidget* owner;
    std::string statusText;
};

} // namespace mvk::qvn::core
