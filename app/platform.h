#pragma once

// What the program's start does differently on each system: platform_posix.cpp and
// platform_windows.cpp, one of which the build takes.
namespace platform {

// Makes standard output and standard error reach the terminal that started the program,
// for --help, --version and a usage error. A Windows program with windows has no console
// of its own: it borrows its parent's, unless its output goes to a file or a pipe.
void UseParentConsole();

// Where the game is saved, as the help text tells it: one or more lines in Czech.
const char* SaveLocationHelp();

}  // namespace platform
