#pragma once
// The one owner of nested event processing. Long work on the user-interface
// thread (a hero's walk, an explosion, a replay, the splash, a search for
// archives) lets the window paint and react by processing the pending events
// here, and only here. Input that arrives meanwhile must not start a second
// command inside the running one: every key, click and menu item of the main
// window starts its command through RunCommand, which refuses while another
// command runs, and auto-repeated keys are dropped while a command runs.

#include <cstdint>
#include <functional>

class QEvent;
class QObject;

namespace tb {

class TEventPump {
public:
    // Processes the pending events once.
    static void Process();
    // Keeps processing events, 1 ms apart, until more than `ms` milliseconds
    // have passed since the tick count `start`.
    static void ProcessUntil(std::uint32_t start, std::uint32_t ms);
    // Keeps processing events, a few ms apart, while `more` answers true.
    static void ProcessWhile(const std::function<bool()>& more);

    // Runs `command` as the command of one piece of input; answers false and
    // does nothing while another command runs. An exception passes through
    // and ends the command.
    static bool RunCommand(const std::function<void()>& command);
    // Whether a command started by input is running.
    static bool CommandRunning() { return Commands > 0; }
    // How deep event processing is nested now (0 outside Process).
    static int Depth() { return Nesting; }

    // Whether the pump drops `event` for `receiver`: an auto-repeated key
    // while a command runs (a text field keeps its repeated characters, not
    // Enter, Escape or Space).
    static bool Drops(QObject* receiver, QEvent* event);
    // Installs the application-wide filter that applies Drops (once).
    static void InstallFilter();

private:
    static inline int Commands = 0;
    static inline int Nesting = 0;
};

} // namespace tb
