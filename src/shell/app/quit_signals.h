#pragma once

namespace mavu::shell {

// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C in the terminal)
// end a window run the way the player's "exit" does, without the question:
// the system data and settings are saved. The handler only raises a flag
// that the frame loop reads.
void InstallQuitSignals();
bool QuitSignalled();

}  // namespace mavu::shell
