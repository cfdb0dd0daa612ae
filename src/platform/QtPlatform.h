#pragma once

#include "platform/FileStore.h"
#include "platform/Platform.h"

#include <QPointer>

namespace zel {

class HelpViewer;

class QtPlatform : public Platform {
  public:
    QtPlatform();
    ~QtPlatform() override;

    QPoint pointerPosition() const override;
    void setPointerPosition(QPoint globalPixels) override;
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    double devicePixelRatio() const override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    void showError(QWidget* parent, const QString& title, const QString& text) override;
    void showHelp(const QString& fileName) override;
    FileStore& files() override { return m_files; }

  private:
    FileStore m_files;
    QPointer<QWidget> m_help;
};

} // namespace zel
