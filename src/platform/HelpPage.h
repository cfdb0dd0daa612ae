#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace zel {

// The help file is HTML from a folder anyone may write to (the start folder comes first). Qt's
// text browser lays it out on the event loop, and some markup costs it time out of all
// proportion to its size: each level of nested tables doubles the work, wide column spans
// build huge grids, deep nesting and long unbroken words grow with their square, characters
// no font has are looked for in every font. A page whose
// markup could take long is shown as its plain text instead, cut to a length that lays out
// quickly, so the board never waits for the help.
struct HelpPage {
    enum class Form {
        Html,      // `text` is the file's markup, control characters taken out
        PlainText, // `text` is the page's text without its markup, with a line saying why
        NotText,   // the file holds NUL bytes: it is no text file
    };
    Form form = Form::Html;
    QString text;
};

// Help files and their style sheets larger than this are not read.
inline constexpr qint64 kMaxHelpBytes = 256 * 1024;

// Whether the font the page is shown in has a glyph for a character. One it lacks sends the
// layout through every font installed, at a cost far above any other.
using GlyphCheck = std::function<bool(char16_t)>;

HelpPage prepareHelpPage(const QByteArray& bytes, const GlyphCheck& hasGlyph);

} // namespace zel
