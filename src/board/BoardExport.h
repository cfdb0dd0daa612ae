#pragma once

#include "board/BoardRenderer.h"
#include "board/ExportFormat.h"
#include "platform/FileStore.h"

#include <QByteArray>
#include <QString>

namespace zel {

class RosterFiles;

// The board as a PNG, `factor` (1 or 2) times its pixel size: at 1 the pixels its window shows,
// buttons included.
QByteArray boardPng(const BoardRenderer& board, int factor);

// What an export writes and where. The format comes from the path's extension.
struct ExportJob {
    QString path;
    int pngScale = 1;
    QString heading; // the printed page's heading line (PDF)
};

// Writes the board of `state` into the job's file, whole or not at all: the bytes are made
// first and saved beside the file, then renamed over it. A failure names the cause; nothing
// is left behind.
SaveResult exportBoard(FileStore& store, const ExportJob& job, const RosterState& state,
                       const TwipScale& scale);

// One message for a failed export, naming the file.
QString exportFailureMessage(const QString& path, const QString& reason);

// The name of the folder the roster's files are in, for the heading.
QString dataFolderName(const RosterFiles& files, const RosterState& state);

} // namespace zel
