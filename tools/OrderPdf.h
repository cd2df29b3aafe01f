#pragma once
// torquil-db order DB NUM FILE.pdf / torquil-db act DB NUM FILE.pdf: the
// work order or the acceptance act of contract number NUM written as a
// PDF file, without a display.

namespace tools {

// Whether the command line asks for one of these (they need a
// QGuiApplication, made before any other application object).
bool isOrderCommand(int argc, char** argv);
// Runs it; the exit status of the program.
int orderCommand(int argc, char** argv);

}  // namespace tools
