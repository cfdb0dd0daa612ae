#include "platform/QtPlatform.h"

#include "platform/HelpViewer.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace zel {

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() {
    delete m_help;
}

QPoint QtPlatform::pointerPosition() const {
    return QCursor::pos();
}

void QtPlatform::setPointerPosition(QPoint globalPixels) {
    QCursor::setPos(globalPixels);
}

static double screenDpi(bool horizontal) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

double QtPlatform::twipsPerPixelX() const {
    return 1440.0 / screenDpi(true);
}
double QtPlatform::twipsPerPixelY() const {
    return 1440.0 / screenDpi(false);
}

double QtPlatform::devicePixelRatio() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

bool QtPlatform::confirm(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void QtPlatform::showError(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

void QtPlatform::showHelp(const QString& fileName) {
    if (!m_help)
        m_help = new HelpViewer();
    static_cast<HelpViewer*>(m_help.data())->openFile(fileName);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

} // namespace zel
