#include "platform/HelpBrowser.h"

#include "platform/BoundedFile.h"
#include "platform/HelpPage.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace zel {

namespace {
QVariant boundedImage(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    // A small file can still announce a picture of gigabytes.
    if (!size.isValid() || size.width() > HelpBrowser::kMaxImageSide ||
        size.height() > HelpBrowser::kMaxImageSide)
        return {};
    const QImage image = reader.read();
    return image.isNull() ? QVariant() : QVariant(image);
}

// A picture written into the page itself ("data:image/png;base64,...").
QByteArray dataUrlBytes(const QUrl& url) {
    const QString data = url.toString(QUrl::FullyEncoded);
    const qsizetype comma = data.indexOf(u',');
    if (comma < 0 || !data.left(comma).endsWith(u";base64"_s))
        return {};
    return QByteArray::fromBase64(data.mid(comma + 1).toLatin1());
}

QImage missingPicture() {
    static const QImage picture(
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/file-16.png"));
    return picture.isNull() ? QImage(16, 16, QImage::Format_ARGB32_Premultiplied) : picture;
}

QString pageMarkup(const QByteArray& bytes, const GlyphCheck& hasGlyph) {
    const HelpPage page = prepareHelpPage(bytes, hasGlyph);
    switch (page.form) {
    case HelpPage::Form::Html:
        return page.text;
    case HelpPage::Form::PlainText:
        return QStringLiteral("<pre style=\"white-space: pre-wrap\">%1</pre>")
            .arg(page.text.toHtmlEscaped());
    case HelpPage::Form::NotText:
        break;
    }
    return QStringLiteral("<p>このページはテキストではないため、表示できません。</p>");
}
} // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}

GlyphCheck HelpBrowser::glyphCheck() const {
    // Each character asked once: a page asks for the same few thousand again and again.
    auto known = std::make_shared<std::vector<signed char>>(0x10000, -1);
    return [metrics = QFontMetrics(font()), known](char16_t c) {
        signed char& has = (*known)[c];
        if (has < 0)
            has = metrics.inFont(QChar(c)) ? 1 : 0;
        return has == 1;
    };
}

void HelpBrowser::setResourceFolder(const QString& folder) {
    m_folder = folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
}

QString HelpBrowser::resourcePath(const QUrl& name) const {
    if (m_folder.isEmpty())
        return {};
    QString path;
    if (name.isRelative() && name.scheme().isEmpty())
        path = QDir(m_folder).filePath(name.path());
    else if (name.isLocalFile())
        path = name.toLocalFile();
    else
        return {}; // nothing from the network or elsewhere
    // Links resolved: a link inside the folder to a file outside it is outside.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty() || !canonical.startsWith(m_folder + u'/'))
        return {};
    return canonical;
}

// Whatever is refused still gets an answer: given nothing, Qt would read the named file itself,
// FIFO, device or not.
QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const bool image = type == QTextDocument::ImageResource;
    const QString path = resourcePath(name);
    // The path is canonical: a link found there now was put in since, and is not followed.
    const BoundedFile file =
        path.isEmpty() ? BoundedFile{BoundedFile::Problem::Missing, {}}
                       : BoundedFile::read(path, image ? kMaxImageBytes : kMaxHelpBytes, false);
    const bool read = file.problem == BoundedFile::Problem::None;
    switch (type) {
    case QTextDocument::ImageResource: {
        const QVariant picture = read                         ? boundedImage(file.bytes)
                                 : name.scheme() == u"data"_s ? boundedImage(dataUrlBytes(name))
                                                              : QVariant();
        return picture.isValid() ? picture : QVariant(missingPicture());
    }
    case QTextDocument::HtmlResource:
        return read ? pageMarkup(file.bytes, glyphCheck())
                    : QStringLiteral("<p>このページは見つからないか、表示できません。</p>");
    case QTextDocument::StyleSheetResource:
        return read && !file.bytes.contains('\0') ? QString::fromUtf8(file.bytes) : QString();
    default:
        return QByteArray(); // no other kind of resource is used
    }
}

} // namespace zel
