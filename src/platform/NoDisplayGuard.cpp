#include "platform/NoDisplayGuard.h"

#include <QList>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace zel {

namespace {
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QList<HeldMessage>& held() {
    static QList<HeldMessage> messages;
    return messages;
}

void guardHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(NoDisplayGuard::message().toUtf8().constData(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    held().append({type, context.category, text});
}

QString setting(const char* name) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty()
               ? QString()
               : QStringLiteral("%1=%2").arg(QLatin1String(name), QString::fromLocal8Bit(value));
}
} // namespace

NoDisplayGuard::NoDisplayGuard() {
    qInstallMessageHandler(guardHandler);
}

NoDisplayGuard::~NoDisplayGuard() {
    qInstallMessageHandler(nullptr);
    for (const HeldMessage& m : std::as_const(held())) {
        const QMessageLogger logger(nullptr, 0, nullptr, m.category.constData());
        const QByteArray text = m.text.toUtf8();
        switch (m.type) {
        case QtDebugMsg:
            logger.debug("%s", text.constData());
            break;
        case QtInfoMsg:
            logger.info("%s", text.constData());
            break;
        case QtCriticalMsg:
            logger.critical("%s", text.constData());
            break;
        default:
            logger.warning("%s", text.constData());
            break;
        }
    }
    held().clear();
}

QString NoDisplayGuard::message() {
    QStringList tried;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const QString s = setting(name); !s.isEmpty())
            tried << s;
    const QString what = tried.isEmpty() ? QStringLiteral("DISPLAY unset") : tried.join(u", ");
    // On Wayland the program runs through XWayland, or Qt's Wayland plugin when chosen.
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return QStringLiteral("ゼルトミル: 画面 (ディスプレイ) を開けませんでした (%1)。%2\n"
                          "zeltomil: could not open a display (%1). %3\n")
        .arg(what,
             wayland ? QStringLiteral("XWayland か、Qt の Wayland プラグイン (qt6-wayland) が"
                                      "必要です。")
                     : QStringLiteral("X11 か Wayland のデスクトップで起動してください。"),
             wayland ? QStringLiteral("It needs XWayland or Qt's Wayland plugin (qt6-wayland).")
                     : QStringLiteral("Start it on an X11 or Wayland desktop."));
}

} // namespace zel
