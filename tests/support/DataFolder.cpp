#include "support/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

namespace zel::test {

DataFolder::DataFolder() {
    m_dir.setAutoRemove(true);
}

QString DataFolder::file(const QString& name) const {
    return QDir(path()).filePath(name);
}

void DataFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void DataFolder::writeLines(const QString& name, const QStringList& lines) const {
    write(name, cp932Lines(lines));
}

QByteArray DataFolder::read(const QString& name) const {
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool DataFolder::exists(const QString& name) const {
    return QFile::exists(file(name));
}

QByteArray cp932Lines(const QStringList& lines) {
    QStringEncoder encoder("CP932");
    QByteArray out;
    for (const QString& line : lines)
        out += encoder(line) + "\r\n";
    return out;
}

} // namespace zel::test
