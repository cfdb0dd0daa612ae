#include "support/DataFolder.h"

#include <QStringEncoder>

QByteArray zel::test::cp932Lines(const QStringList& lines) {
    QStringEncoder encoder("CP932");
    QByteArray out;
    for (const QString& line : lines)
        out += encoder(line) + "\r\n";
    return out;
}
