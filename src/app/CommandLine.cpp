#include "app/CommandLine.h"

#include "board/AppVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

namespace zel {

namespace {
const QString kProgram = QStringLiteral("zeltomil");

QString errorOutput(const QString& error) {
    return QStringLiteral("%1: %2\n「%1 --help」で使い方を表示します。\n").arg(kProgram, error);
}

// Options every Qt program understands; QApplication takes them out of the arguments itself.
void addQtOptions(QCommandLineParser& parser) {
    const char* const withValue[] = {"platform",        "platformpluginpath",
                                     "platformtheme",   "plugin",
                                     "qwindowgeometry", "qwindowicon",
                                     "qwindowtitle",    "display",
                                     "geometry",        "style",
                                     "stylesheet",      "session"};
    const char* const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}
} // namespace

CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDirectory) {
    QCommandLineParser parser;
    // "-platform xcb" as Qt spells its own options, not as -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("ゼルトミル: 当番表ボード"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この使い方を表示して終わります。"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("バージョンを表示して終わります。"));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("今のフォルダの当番表を <ファイル> に書き出して終わります (画面は使い"
                       "ません)。形式は拡張子で決まります: .pdf, .png, .csv"),
        QStringLiteral("ファイル"));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("PNG の倍率: 1 (画面と同じ大きさ) か 2。"),
                                   QStringLiteral("倍率"), QStringLiteral("1"));
    const QCommandLineOption fromMenu(
        QStringLiteral("from-menu"),
        QStringLiteral("デスクトップのメニューからの起動: 利用者ごとのフォルダで動きます。"));
    parser.addOptions({help, version, exportOption, scale, fromMenu});
    addQtOptions(parser);

    CommandLine command;
    if (!parser.parse(arguments)) {
        command.action = CommandLine::Action::Error;
        command.output = errorOutput(parser.errorText());
        return command;
    }
    if (parser.isSet(help)) {
        command.action = CommandLine::Action::Help;
        command.output = parser.helpText();
        return command;
    }
    if (parser.isSet(version)) {
        command.action = CommandLine::Action::Version;
        command.output = QStringLiteral("%1 %2\n").arg(kProgram, versionNumber());
        return command;
    }
    auto fail = [&command](const QString& error) {
        command.action = CommandLine::Action::Error;
        command.output = errorOutput(error);
        return command;
    };
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return fail(QStringLiteral("余分な引数があります: %1").arg(extra.join(u' ')));
    command.fromMenu = parser.isSet(fromMenu);
    if (parser.isSet(scale)) {
        const QString value = parser.value(scale);
        if (value != u"1" && value != u"2")
            return fail(QStringLiteral("--scale は 1 か 2 です: %1").arg(value));
        if (!parser.isSet(exportOption))
            return fail(QStringLiteral("--scale は --export と一緒に使います。"));
        command.pngScale = value.toInt();
    }
    if (parser.isSet(exportOption)) {
        const QString path = parser.value(exportOption);
        if (path.isEmpty())
            return fail(QStringLiteral("--export に書き出すファイルの名前がありません。"));
        command.action = CommandLine::Action::Export;
        command.exportPath = QDir::cleanPath(QDir(workingDirectory).absoluteFilePath(path));
    }
    return command;
}

std::optional<int> handleCommandLine(int& argc, char** argv, CommandLine& command) {
    QCoreApplication probe(argc, argv);
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtJapanese);
    command = parseCommandLine(QCoreApplication::arguments(), QDir::currentPath());
    if (!command.printsAndEnds())
        return std::nullopt;
    const QByteArray text = command.output.toUtf8();
    std::FILE* stream = command.action == CommandLine::Action::Error ? stderr : stdout;
    std::fwrite(text.constData(), 1, size_t(text.size()), stream);
    std::fflush(stream);
    return command.exitCode();
}

} // namespace zel
