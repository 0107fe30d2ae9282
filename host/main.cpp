// quorvane-host: the reference host program. It loads the core from its install tree like a
// real host adaptor, attaches, pumps events, and detaches. With --demo it runs a scripted
// session and writes what it did under the output folder.
#include "CoreModule.h"
#include "DemoSession.h"
#include "DemoTake.h"
#include "HostWindow.h"
#include "RefHost.h"
#include "TakeWatcher.h"
#include "gui/Component.h"
#include "platform/FileSystem.h"
#include "platform/ShellFolders.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The tool of the sample module that --tools makes.
constexpr const char* SampleTool = "Orbit Camera";

struct Options {
    bool demo = false;
    bool version = false;
    std::string output = "demo-output";
    std::string corePath;
    // Tools of the sample module made before the window opens (--tools N).
    int tools = 0;
};

void usage() {
    std::cout << "usage: quorvane-host [--demo] [--output FOLDER] [--core LIBRARY] [--tools N] "
                 "[--version]\n";
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--demo") {
            options.demo = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--output" && i + 1 < argc) {
            options.output = argv[++i];
        } else if (argument == "--core" && i + 1 < argc) {
            options.corePath = argv[++i];
        } else if (argument == "--tools" && i + 1 < argc) {
            options.tools = std::atoi(argv[++i]);
        } else {
            usage();
            return false;
        }
    }
    if (options.corePath.empty())
        options.corePath = qvn::host::CoreModule::defaultPath();
    return true;
}

// A version number read as thousands "." hundreds "." the rest below 100 (9201 is 9.2.1).
std::string productVersion(uint32_t version) {
    return std::to_string(version / 1000) + "." + std::to_string(version % 1000 / 100) + "." +
           std::to_string(version % 100);
}

// Asks the core library itself, so the answer is that of the library this host would load.
int printVersion(const std::string& corePath) {
    qvn::host::CoreModule core;
    if (!core.load(corePath)) {
        std::cerr << core.error() << "\n";
        return 1;
    }
    const uint32_t version = core.getVersion();
    std::cout << "Quorvane " << productVersion(version) << " (core interface " << version
              << ")\ncore library: " << corePath << "\n";
    return 0;
}

// The demo's take is driven by the simulated gamepad of the install tree, unless the user
// named another script, and runs in simulated time, so it is exact and never waits.
void useDemoGamepad(const std::string& corePath) {
    const std::filesystem::path root = std::filesystem::path(corePath).parent_path().parent_path();
    setenv("QUORVANE_SIMULATED_GAMEPAD", (root / "data/unidevice/demo_gamepad.txt").c_str(), 0);
    setenv("QUORVANE_SIMULATED_CLOCK", "1", 0);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The installer's job: the user data folder and its "data" folder exist before the core first
// runs (the core only creates single levels below them).
std::string prepareUserData() {
    const std::string documents = mvk::platform::documentsFolder();
    const std::string userData = documents + "/Morvik Vedidedivu/quorvane";
    mvk::platform::createFolders(userData + "/data");
    return userData;
}

// A person can see windows: an X or Wayland display, and Qt not told to draw offscreen.
bool hasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr &&
        (std::strcmp(platform, "offscreen") == 0 || std::strcmp(platform, "minimal") == 0))
        return false;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0')
            return true;
    return false;
}

// The host window next to the core's main dialog, until the user closes the host window.
void runInteractive(mvk::qvn::CoreInterface& core, qvn::host::RefHost& host, int toolCount) {
    for (int i = 0; i < toolCount; ++i)
        if (core.createInstance(SampleTool).empty()) {
            std::cerr << "cannot make a " << SampleTool << "\n";
            break;
        }
    qvn::host::HostWindow window(core, host);
    window.show();
    // The window manager places the window once it is mapped; the core's windows are placed
    // against where it ends up, so wait (briefly) for that.
    QElapsedTimer mapping;
    mapping.start();
    while (window.windowHandle() != nullptr && !window.windowHandle()->isExposed() &&
           mapping.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
    // The core places its windows against this one and keeps them above it.
    host.mainWindowHandle = static_cast<uint32_t>(window.winId());
    core.openMainDialog();
    QApplication::exec();
    host.mainWindowHandle = 0;
}

// The host window in the middle of the demo's take, pictured like the core's windows.
bool pictureHostWindow(mvk::qvn::CoreInterface& core, qvn::host::RefHost& host,
                       qvn::host::DemoScreenshots& screenshots) {
    qvn::host::HostWindow window(core, host);
    const std::string camera = std::string(qvn::host::DemoTake::CameraName) + "_camera";
    if (const qvn::host::RefNode* node = host.scene.find(camera);
        node != nullptr && !node->transformKeys().empty()) {
        window.selectNode(camera);
        const double first = node->transformKeys().begin()->first;
        const double last = node->transformKeys().rbegin()->first;
        window.setTime(first + (last - first) * 0.6);
    }
    window.show();
    return screenshots.take(window.windowTitle().toStdString(), "host_window.png");
}

// The driver libraries the core took, as its log tells: each "library file" line followed by a
// "loaded with drivers" line.
void printLoadedDrivers(const std::string& log) {
    std::cout << "\n== driver libraries loaded\n";
    std::istringstream lines(log);
    std::string line;
    std::string file;
    int loaded = 0;
    while (std::getline(lines, line)) {
        if (const size_t at = line.find("library file: "); at != std::string::npos)
            file = line.substr(at + 14);
        else if (const size_t at = line.find("loaded with drivers: "); at != std::string::npos) {
            std::cout << "  " << std::filesystem::path(file).filename().string() << ": "
                      << line.substr(at + 21) << "\n";
            ++loaded;
        }
    }
    if (loaded == 0)
        std::cout << "  none\n";
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options))
        return 2;
    if (options.version)
        return printVersion(options.corePath);
    const std::string userData = prepareUserData();
    if (options.demo)
        useDemoGamepad(options.corePath);
    qvn::host::CoreModule core;
    if (!core.load(options.corePath)) {
        std::cerr << core.error() << "\n";
        return 1;
    }
    std::cout << "core library: " << options.corePath << "\n";
    std::cout << "core version: " << core.getVersion() << "\n";
    if (core.getVersion() != mvk::qvn::CoreVersion) {
        std::cerr << "the core speaks interface " << core.getVersion() << ", this host "
                  << mvk::qvn::CoreVersion << "\n";
        return 1;
    }

    qvn::host::RefHost host;
    mvk::qvn::CoreInterface* coreInterface = core.attach(&host);
    if (coreInterface == nullptr) {
        std::cerr << "attach refused\n";
        return 1;
    }
    std::cout << "attached to host \"" << host.getHostName() << "\"\n";
    // Every finished take is reported here as it ends.
    qvn::host::TakeWatcher takes(&std::cout);
    takes.watch(*coreInterface);
    for (int i = 0; i < 5; ++i)
        coreInterface->processEvents();
    if (!options.demo && hasDisplay())
        runInteractive(*coreInterface, host, options.tools);
    bool sessionOk = true;
    if (options.demo) {
        qvn::host::DemoSession session(*coreInterface, host, std::cout);
        sessionOk = session.run();
        qvn::host::DemoScreenshots screenshots(options.output, std::cout);
        sessionOk = session.showWindows(screenshots) && sessionOk;
        std::filesystem::create_directories(options.output);
        qvn::host::DemoTake take(*coreInterface, host, takes, std::cout, options.output);
        take.pictureCountdown(&screenshots);
        sessionOk = take.run() && sessionOk;
        sessionOk = session.showInputWindows(screenshots, qvn::host::DemoTake::CameraName) &&
                    sessionOk;
        sessionOk = pictureHostWindow(*coreInterface, host, screenshots) && sessionOk;
        coreInterface->saveScene(host);
        std::ofstream(options.output + "/scene.xml", std::ios::binary) << host.sceneText;
        std::cout << "scene tag written to: " << options.output << "/scene.xml\n";
    }
    core.detach(coreInterface);
    std::cout << "detached\n";

    const std::string logPath = userData + "/data/core/core.log";
    std::cout << "log written to: " << logPath << "\n";
    const std::string log = readFile(logPath);
    if (options.demo) {
        std::filesystem::create_directories(options.output);
        std::ofstream(options.output + "/core.log", std::ios::binary) << log;
        std::cout << "log copied to: " << options.output << "/core.log\n";
    }
    if (options.demo)
        printLoadedDrivers(log);
    std::cout << "---- core.log ----\n" << log;
    // Last, since a new attach starts a new log.
    if (options.demo)
        sessionOk =
            qvn::host::DemoTake::reloadInFreshAttach(core, host, host.sceneText, std::cout) &&
            sessionOk;
    if (!sessionOk)
        std::cerr << "the demo session did not go as expected\n";
    return sessionOk ? 0 : 1;
}
