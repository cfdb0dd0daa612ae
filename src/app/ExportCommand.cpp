#include "app/ExportCommand.h"

#include "app/CommandLine.h"
#include "board/BoardExport.h"
#include "board/BoardPrinter.h"
#include "roster/RosterFiles.h"

#include <QDate>
#include <QDir>
#include <cstdio>

namespace zel {

int runExportCommand(const CommandLine& command, FileStore& store) {
    RosterState state;
    RosterFiles files(store, QDir::currentPath());
    files.loadAll(state);
    const ExportJob job{command.exportPath, command.pngScale,
                        boardHeading(QDate::currentDate(), dataFolderName(files, state))};
    const SaveResult result = exportBoard(store, job, state, TwipScale{15, 15});
    if (result.ok)
        return 0;
    const QString message = exportFailureMessage(command.exportPath, result.reason);
    std::fprintf(stderr, "zeltomil: %s\n", message.toUtf8().constData());
    return 1;
}

} // namespace zel
