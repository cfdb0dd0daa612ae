#pragma once

namespace zel {

struct CommandLine;
class FileStore;

// `zeltomil --export FILE`: loads the roster of the current folder, writes it to the file and
// reports a failure on standard error. No window is shown; the board is drawn at 96 dots per
// inch (15 twips a pixel). Gives the exit code: 0, or 1 when nothing was written.
int runExportCommand(const CommandLine& command, FileStore& store);

} // namespace zel
