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

}  // namespace app
