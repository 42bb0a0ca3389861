#pragma once

class QString;

// What the program's start does differently on each system: platform_posix.cpp and
// platform_windows.cpp, one of which the build takes.
namespace platform {

// Makes standard output and standard error reach the terminal that started the program,
// for --help, --version and a usage error. A Windows program with windows has no console
// of its own: it borrows its parent's, unless its output goes to a file or a pipe, and
// gives the console back its code page when it ends. Returns whether what is written
// there reaches anyone: false for a Windows program started with no console and nothing
// redirected (a file dropped on it in Explorer, "Open with").
bool UseParentConsole();

// Says `text` to a player who has no console to read it in: a message box on
// Windows. False where the system has no such way; the program then ends with its usage
// error as on a command line.
bool TellWithoutConsole(const QString& text);

// Readies the process before Qt starts. On Windows, Qt obeys variables that another Qt
// program may have left in the player's environment (QT_PLUGIN_PATH,
// QT_QPA_PLATFORM_PLUGIN_PATH, QT_QPA_PLATFORM), and would then load a foreign platform
// plugin and show no window at all: they are cleared, and Qt looks for its plugins in the
// program's own folder alone. And a named mutex (RunningMutex) tells the installer and
// the uninstaller that the game runs, until the process ends. Elsewhere nothing: there
// Qt is the system's, and the variables are the player's own choice.
void PrepareStart();

// Where the game is saved, as the help text tells it: one or more lines in Czech.
const char* SaveLocationHelp();

// Where the licences of the game and of the Qt it uses are, as --version tells it.
const char* LicenceLocation();

}  // namespace platform
