#include "platform/HelpViewer.h"

#include "platform/BoundedFile.h"
#include "platform/HelpBrowser.h"
#include "platform/HelpPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zel {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("ゼルトミル ヘルプ"));
    setAccessibleName(QStringLiteral("ヘルプ"));
    m_browser = new HelpBrowser(this);
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
    // The first one there is taken, even when it cannot be shown: the window then says why.
    for (const QString& path : candidates) {
        if (QFileInfo(path).exists())
            return QFileInfo(path).absoluteFilePath();
    }
    return {};
}

void HelpViewer::openFile(const QString& fileName) {
    const QString path = locate(fileName);
    const BoundedFile file = path.isEmpty() ? BoundedFile{BoundedFile::Problem::Missing, {}}
                                            : BoundedFile::read(path, kMaxHelpBytes);
    const HelpPage page = file.problem == BoundedFile::Problem::None
                              ? prepareHelpPage(file.bytes, m_browser->glyphCheck())
                              : HelpPage{};
    QString problem;
    switch (file.problem) {
    case BoundedFile::Problem::None:
        if (page.form == HelpPage::Form::NotText)
            problem = QStringLiteral("ヘルプファイル「%1」はテキストファイルではないため、"
                                     "表示できません。")
                          .arg(path);
        break;
    case BoundedFile::Problem::NotRegular:
        problem =
            QStringLiteral("ヘルプファイル「%1」は普通のファイルではないため、表示できません。")
                .arg(path);
        break;
    case BoundedFile::Problem::TooLarge:
        problem = QStringLiteral("ヘルプファイル「%1」は %2 KB を超えていて大きすぎるため、"
                                 "表示できません。")
                      .arg(path)
                      .arg(kMaxHelpBytes / 1024);
        break;
    case BoundedFile::Problem::Missing:
    case BoundedFile::Problem::Unreadable:
        problem =
            QStringLiteral("ヘルプファイル「%1」が見つからないか、読めません。").arg(fileName);
        break;
    }
    if (!problem.isEmpty()) {
        m_browser->setResourceFolder({});
        m_browser->setPlainText(problem);
        return;
    }
    // Pictures and linked pages come from the folder of the file itself, links resolved.
    m_browser->setResourceFolder(QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath());
    if (page.form == HelpPage::Form::Html)
        m_browser->setHtml(page.text);
    else
        m_browser->setPlainText(page.text);
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
