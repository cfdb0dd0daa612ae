#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zel::test {

// A temporary folder of data files written byte for byte.
class DataFolder {
  public:
    DataFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const;
    void write(const QString& name, const QByteArray& bytes) const;
    // Writes lines in CP932 with CR LF.
    void writeLines(const QString& name, const QStringList& lines) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

  private:
    QTemporaryDir m_dir;
};

// Lines joined with CR LF and encoded in CP932.
QByteArray cp932Lines(const QStringList& lines);

} // namespace zel::test
