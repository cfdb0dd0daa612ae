#pragma once

#include "roster/SaveObserver.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace zel {

// One step as the history file keeps it.
struct KeptStep {
    QString text;
    std::vector<FileChange> changes;
    bool operator==(const KeptStep&) const = default;
};

// The steps of one start folder: `done` of them are done, the rest can be redone.
struct KeptHistory {
    QString startFolder;
    int done = 0;
    std::vector<KeptStep> steps;
    bool operator==(const KeptHistory&) const = default;
};

// The history file's bytes. The file is the program's own (never shared, never edited by hand)
// and binary: file contents are kept byte for byte.
QByteArray encodeHistory(const KeptHistory& history);
// Nothing for bytes that are not a whole history file of this version, or that break its
// limits (more than `maxSteps` steps, a step without files, `done` out of range).
std::optional<KeptHistory> decodeHistory(const QByteArray& bytes, int maxSteps);

// The folder histories are kept in: $XDG_STATE_HOME/zeltomil, by default
// ~/.local/state/zeltomil (a relative XDG_STATE_HOME is ignored, as the XDG rules say).
QString historyFolder();
// The file for one start folder: named by a hash of its absolute path.
QString historyFileName(const QString& startFolder);

} // namespace zel
