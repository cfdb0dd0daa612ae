#pragma once

#include "platform/FileStore.h"
#include "platform/Platform.h"

#include <QStringList>
#include <deque>

namespace zel::test {

// A file store whose writes stop after a set number of bytes, like a full disk.
class FailingFileStore : public FileStore {
  public:
    qint64 failAfterBytes = -1; // -1: never fail
    int saves = 0;
    SaveResult save(const QString& path, const QByteArray& bytes) override {
        return ++saves, FileStore::save(path, bytes);
    }

  protected:
    qint64 writeBytes(QIODevice& device, const QByteArray& bytes) override {
        return FileStore::writeBytes(device,
                                     failAfterBytes < 0 ? bytes : bytes.left(failAfterBytes));
    }
};

// A scripted desktop: a pointer that stays where it is put, 15 twips per pixel, answers to
// questions from a queue (empty: OK), and a record of every message shown.
class FakePlatform : public Platform {
  public:
    QPoint pointer;
    double tx = 15, ty = 15, dpr = 1;
    std::deque<bool> answers;
    QStringList confirmations, errors, helpRequests;
    FailingFileStore store;

    QPoint pointerPosition() const override { return pointer; }
    void setPointerPosition(QPoint p) override { pointer = p; }
    double twipsPerPixelX() const override { return tx; }
    double twipsPerPixelY() const override { return ty; }
    double devicePixelRatio() const override { return dpr; }
    bool confirm(QWidget*, const QString& title, const QString& text) override {
        confirmations << title + u'|' + text;
        const bool answer = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    void showError(QWidget*, const QString& title, const QString& text) override {
        errors << title + u'|' + text;
    }
    void showHelp(const QString& fileName) override { helpRequests << fileName; }
    FileStore& files() override { return store; }
};

} // namespace zel::test
