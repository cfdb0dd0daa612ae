#include "history/HistoryFile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QIODevice>

namespace zel {

namespace {
constexpr quint32 kMagic = 0x5a454c48; // "ZELH"
constexpr quint32 kVersion = 1;
// An editor write touches two files; anything far beyond is not a file of ours.
constexpr quint32 kMaxFilesPerStep = 16;

void writeBytes(QDataStream& out, const std::optional<QByteArray>& bytes) {
    out << bool(bytes);
    out << (bytes ? *bytes : QByteArray());
}

std::optional<QByteArray> readBytes(QDataStream& in) {
    bool present = false;
    QByteArray bytes;
    in >> present >> bytes;
    if (!present)
        return std::nullopt;
    return bytes;
}
} // namespace

QByteArray encodeHistory(const KeptHistory& history) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << kMagic << kVersion << history.startFolder << qint32(history.done)
        << quint32(history.steps.size());
    for (const KeptStep& step : history.steps) {
        out << step.text << quint32(step.changes.size());
        for (const FileChange& change : step.changes) {
            out << change.path;
            writeBytes(out, change.before);
            writeBytes(out, change.after);
        }
    }
    return bytes;
}

std::optional<KeptHistory> decodeHistory(const QByteArray& bytes, int maxSteps) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0, version = 0, steps = 0;
    qint32 done = 0;
    KeptHistory history;
    in >> magic >> version >> history.startFolder >> done >> steps;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion ||
        steps > quint32(maxSteps) || done < 0 || quint32(done) > steps)
        return std::nullopt;
    history.done = done;
    for (quint32 s = 0; s < steps; ++s) {
        KeptStep step;
        quint32 files = 0;
        in >> step.text >> files;
        if (in.status() != QDataStream::Ok || files == 0 || files > kMaxFilesPerStep)
            return std::nullopt;
        for (quint32 f = 0; f < files; ++f) {
            FileChange change;
            in >> change.path;
            change.before = readBytes(in);
            change.after = readBytes(in);
            step.changes.push_back(std::move(change));
        }
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        history.steps.push_back(std::move(step));
    }
    if (!in.atEnd())
        return std::nullopt;
    return history;
}

QString historyFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir(base).filePath(QStringLiteral("zeltomil"));
}

QString historyFileName(const QString& startFolder) {
    const QByteArray key = QDir::cleanPath(QDir(startFolder).absolutePath()).toUtf8();
    return QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32)) +
           QStringLiteral(".history");
}

} // namespace zel
