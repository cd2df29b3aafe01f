#pragma once
// SIGTERM, SIGINT and SIGHUP (logout, shutdown, Ctrl+C) end the program the
// way closing the main window does, with exit code 0.
//
// The embedded engine puts handlers of its own on these signals when it
// attaches (it then shuts the attachment and the program goes on with a dead
// connection), so this is called again after every attach: the last call's
// handlers are the ones in force.
namespace app {

void quitOnSignals();

// Around an attach: the ending signals wait (blocked) while the engine puts
// its handlers on them, and are handled by ours once they are back; threads
// the engine starts meanwhile never take them.
class EndingSignalsHeld {
public:
    EndingSignalsHeld();
    ~EndingSignalsHeld();  // quitOnSignals(), then the signals are let through
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;
};

}  // namespace app
