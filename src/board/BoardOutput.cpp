#include "board/BoardOutput.h"

#include "board/BoardExport.h"
#include "board/BoardPrinter.h"
#include "platform/Platform.h"
#include "roster/RosterFiles.h"
#include "ui/AppContext.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <QStandardPaths>

namespace zel {

namespace {
struct Choice {
    QString filter;
    QString suffix;
    int pngScale;
};
const Choice kChoices[] = {
    {QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"), 1},
    {QStringLiteral("PNG 画像・画面と同じ大きさ (*.png)"), QStringLiteral("png"), 1},
    {QStringLiteral("PNG 画像・2 倍の大きさ (*.png)"), QStringLiteral("png"), 2},
    {QStringLiteral("CSV 表計算用 (*.csv)"), QStringLiteral("csv"), 1},
};

const Choice& choiceOf(const QString& filter) {
    for (const Choice& choice : kChoices)
        if (choice.filter == filter)
            return choice;
    return kChoices[0];
}

// Where the last export went in this run; the documents folder at first.
QString& lastFolder() {
    static QString folder = [] {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QFileInfo(documents).isDir() ? documents : QDir::homePath();
    }();
    return folder;
}
} // namespace

void printBoard(QWidget* parent, const AppContext& context, const TwipScale& scale) {
    const auto board = std::make_shared<const BoardRenderer>(context.state, scale);
    const QString heading =
        boardHeading(QDate::currentDate(), dataFolderName(context.files, context.state));
    const std::unique_ptr<QPrintPreviewDialog> dialog(makePrintPreview(parent, board, heading));
    // Qt's own size shows the page too small to read the names.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        dialog->resize(screen->availableSize() * 3 / 4);
    dialog->exec();
}

void exportBoardWithDialog(QWidget* parent, AppContext& context, const TwipScale& scale) {
    QFileDialog dialog(parent, QStringLiteral("書き出し"), lastFolder());
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const Choice& choice : kChoices)
        filters << choice.filter;
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(kChoices[0].suffix);
    dialog.selectFile(QStringLiteral("当番表-%1.%2")
                          .arg(QDate::currentDate().toString(Qt::ISODate), kChoices[0].suffix));
    // A name without an extension takes the chosen kind's; a name shown in the box follows it.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const Choice& choice = choiceOf(f);
        dialog.setDefaultSuffix(choice.suffix);
        const QFileInfo typed(dialog.selectedFiles().value(0));
        if (!typed.completeBaseName().isEmpty() && exportFormatOf(typed.fileName()))
            dialog.selectFile(QDir(typed.absolutePath())
                                  .filePath(typed.completeBaseName() + u'.' + choice.suffix));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(path).absolutePath();
    const ExportJob job{
        path, choiceOf(dialog.selectedNameFilter()).pngScale,
        boardHeading(QDate::currentDate(), dataFolderName(context.files, context.state))};
    const SaveResult result = exportBoard(context.platform.files(), job, context.state, scale);
    if (!result.ok)
        context.platform.showError(parent, QStringLiteral("ゼルトミル"),
                                   exportFailureMessage(path, result.reason));
}

} // namespace zel
