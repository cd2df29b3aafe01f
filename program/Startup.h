#pragma once

namespace program {
// Creates the application, the windows and the data module, shows the main
// window centred and runs the event loop.
int runProgram(int argc, char** argv);
}  // namespace program
