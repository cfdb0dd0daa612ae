#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zel {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action {
        Run,     // show the board
        Export,  // write the board to a file and end, without a window
        Help,    // print the help text and end
        Version, // print the version and end
        Error,   // print the error and a hint to the help and end
    };
    Action action = Action::Run;
    bool fromMenu = false; // started from the desktop entry: work in the per-user folder
    QString exportPath;    // absolute, from the folder the program was started in
    int pngScale = 1;      // 1 or 2
    QString output;        // what Help, Version and Error print, ending with a line end

    // Help and Version end with 0, a wrong command line with 2.
    int exitCode() const { return action == Action::Error ? 2 : 0; }
    bool printsAndEnds() const {
        return action == Action::Help || action == Action::Version || action == Action::Error;
    }
};

// Reads the arguments (the program's name first). Qt's own options (-platform, -style,
// -display and the like) are accepted and left for Qt. A relative export path starts from
// `workingDirectory`. The help text needs a QCoreApplication.
CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDirectory);

// Parses the process's command line with a short-lived QCoreApplication (no display is needed
// for it) and Qt's Japanese texts. Prints help, version or error and gives the exit code for
// them; for the rest, fills `command` and gives nothing.
std::optional<int> handleCommandLine(int& argc, char** argv, CommandLine& command);

} // namespace zel
