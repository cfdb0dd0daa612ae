#pragma once

#include "platform/HelpPage.h"

#include <QTextBrowser>

namespace zel {

// The help window's text browser. Pictures, style sheets and linked pages are loaded only from
// regular files of bounded size inside the help file's own folder; a FIFO, a device, a link
// leading out of the folder or a huge file is left out, as a missing one is. A linked page is
// shown as its plain text when its markup could take long to lay out (see HelpPage.h).
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
  public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // The folder resources may come from; empty: none at all.
    void setResourceFolder(const QString& folder);
    QVariant loadResource(int type, const QUrl& name) override;
    // Whether the browser's font has a glyph for a character (see HelpPage.h).
    GlyphCheck glyphCheck() const;

    // Pictures larger than this, in bytes or in pixels a side, are left out.
    static constexpr qint64 kMaxImageBytes = 1024 * 1024;
    static constexpr int kMaxImageSide = 4096;

  private:
    QString resourcePath(const QUrl& name) const;

    QString m_folder; // canonical, without a trailing separator
};

} // namespace zel
