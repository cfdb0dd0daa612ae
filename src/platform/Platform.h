#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace zel {

class FileStore;

// The desktop services the board logic needs. The program uses QtPlatform; tests use a
// scripted double, so the logic runs without a particular desktop.
class Platform {
  public:
    virtual ~Platform() = default;

    // Pointer position in global (screen) pixels.
    virtual QPoint pointerPosition() const = 0;
    virtual void setPointerPosition(QPoint globalPixels) = 0;

    // Twips per pixel, from the screen's logical DPI (15 at 96 DPI).
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    // Device pixels per logical pixel, for pictures that stay sharp on HiDPI screens.
    virtual double devicePixelRatio() const = 0;

    // A question with OK (the default) and Cancel; true for OK.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) = 0;
    // One message about something that went wrong.
    virtual void showError(QWidget* parent, const QString& title, const QString& text) = 0;
    // Opens the help file at its contents page, without modality.
    virtual void showHelp(const QString& fileName) = 0;

    // Data files on disk.
    virtual FileStore& files() = 0;
};

} // namespace zel
