#include "program/Startup.h"

int main(int argc, char** argv) { return program::runProgram(argc, argv); }
