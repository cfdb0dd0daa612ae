#include "platform/HelpViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zel {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("ゼルトミル ヘルプ"));
    setAccessibleName(QStringLiteral("ヘルプ"));
    m_browser = new QTextBrowser(this);
    m_browser->setAccessibleName(QStringLiteral("ヘルプの本文"));
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

QString HelpViewer::locate(const QString& fileName) {
    QStringList candidates{QDir::current().filePath(fileName)};
    const QString appDir = QCoreApplication::applicationDirPath();
    candidates << QDir(appDir).filePath(fileName)
               << QDir(appDir).filePath(QStringLiteral("../share/zeltomil/") + fileName)
               << QDir(appDir).filePath(QStringLiteral("../resources/") + fileName);
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile())
            return QFileInfo(path).absoluteFilePath();
    }
    return {};
}

void HelpViewer::openFile(const QString& fileName) {
    const QString path = locate(fileName);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        m_browser->setPlainText(
            QStringLiteral("ヘルプファイル「%1」が見つからないか、読めません。").arg(fileName));
        return;
    }
    m_browser->setSearchPaths({QFileInfo(path).absolutePath()});
    m_browser->setHtml(QString::fromUtf8(file.read(1024 * 1024)));
    m_browser->moveCursor(QTextCursor::Start);
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString HelpViewer::shownText() const {
    return m_browser->toPlainText();
}

} // namespace zel
