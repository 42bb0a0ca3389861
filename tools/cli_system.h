#pragma once

// What morvel-cli says differently on each system: cli_system_posix.cpp and
// cli_system_windows.cpp, one of which the build takes.
namespace cli_system {

// The last lines of --help: what a closed pipe does to it, and where it is documented.
const char* HelpEnd();

}  // namespace cli_system
