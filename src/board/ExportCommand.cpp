#include "board/ExportCommand.h"

#include "board/BoardExport.h"
#include "board/BoardPrinter.h"
#include "board/CommandLine.h"
#include "roster/RosterFiles.h"

#include <QDate>
#include <QDir>
#include <cstdio>

namespace zel {

int runExportCommand(const CommandLine& command, FileStore& store) {
    // Nothing is read when nothing could be written.
    if (!exportFormatOf(command.exportPath)) {
        const QByteArray text =
            (QStringLiteral("zeltomil: ") +
             exportFailureMessage(command.exportPath, unknownFormatReason()) + u'\n')
                .toUtf8();
        std::fputs(text.constData(), stderr);
        return 1;
    }
    RosterState state;
    const RosterFiles files(store, QDir::currentPath());
    files.loadAll(state);
    const ExportJob job{command.exportPath, command.pngScale,
                        boardHeading(QDate::currentDate(), dataFolderName(files, state))};
    const SaveResult result = exportBoard(store, job, state, TwipScale{15, 15});
    if (result.ok)
        return 0;
    const QByteArray text = (QStringLiteral("zeltomil: ") +
                             exportFailureMessage(command.exportPath, result.reason) + u'\n')
                                .toUtf8();
    std::fputs(text.constData(), stderr);
    return 1;
}

} // namespace zel
