#pragma once
// Start and stop of the GUI toolkit inside a host: the component and background factory
// registries, the Qt application object and the run-loop timer that pumps Qt's events from the
// host's own message loop.
#include "util/FactoryManager.h"

namespace mvk::gui {

class Component;
class Background;

using ComponentFactory = util::AbstractFactory<Component>;
using BackgroundFactory = util::AbstractFactory<Background>;

namespace Toolkit {

// Makes the registries and registers every component kind, then the backgrounds.
void registerFactories();
// Destroys the registries and their factories.
void teardownFactories();

// Creates the application object (argument count 0) and the run-loop timer (not started) and
// sets up the application palette. When no display is configured the offscreen platform is
// chosen first, so a headless host is never aborted.
void start();
// Stops and deletes the timer, then deletes the application object.
void stop();
bool isStarted();

// One pass of Qt's event processing, then the posted events (deferred deletes included).
void processEvents();
// Writes "init startRunLoopTimerX" to standard output and starts pumping every 40 ms.
void startEventPump();
bool isPumping();

} // namespace Toolkit
} // namespace mvk::gui
