#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace zel::test {

// Lines joined with CR LF and encoded in CP932.
QByteArray cp932Lines(const QStringList& lines);

// A temporary folder of data files written byte for byte, removed with everything in it.
class DataFolder {
  public:
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return QDir(path()).filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const {
        if (QFile f(file(name)); f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    void writeLines(const QString& name, const QStringList& lines) const {
        write(name, cp932Lines(lines));
    }
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString& name) const { return QFile::exists(file(name)); }

  private:
    QTemporaryDir m_dir;
};

} // namespace zel::test
