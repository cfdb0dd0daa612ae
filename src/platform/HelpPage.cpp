#include "platform/HelpPage.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace zel {

namespace {
// The bounds, with room to spare for any real help page; the shipped one is far inside them.
// A unit of work is a microsecond or two of layout: a character, more in a long word; far more
// for one the page's font lacks (the layout looks for it in the other fonts, and the first time
// for each such character and each script it loads fonts); 20 more where the script changes
// (each run of one script is shaped on its own); 40 for an element; all doubled for every
// table around them. The bound lays out in under half a second.
constexpr double kMaxWorkUnits = 150'000;
constexpr double kElementUnits = 40;
constexpr double kScriptChangeUnits = 20;
constexpr double kMissingGlyphUnits = 15;
constexpr double kNewMissingGlyphUnits = 150;
constexpr double kNewScriptUnits = 5000;
constexpr int kMaxDepth = 48;
constexpr int kMaxTableDepth = 8;
constexpr int kMaxSpan = 64;
// A word the layout cannot break costs it the square of its length.
constexpr int kMaxUnbrokenRun = 200;

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}
bool isNameChar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'_' || c == u':';
}
// Japanese text may break between any two characters; no break is needed to lay it out.
bool breaksLine(QChar c) {
    const char16_t u = c.unicode();
    return isSpace(c) || (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}

// What laying out a text costs, character by character.
class TextCost {
  public:
    explicit TextCost(const GlyphCheck& hasGlyph) : m_hasGlyph(hasGlyph) {}

    // The units character `c` adds; `weight` for the tables around it.
    double add(QChar c, double weight) {
        m_run = breaksLine(c) ? 0 : m_run + 1;
        double units = 1 + m_run / 64.0;
        if (c.isSurrogate() || !m_hasGlyph(c.unicode())) {
            units = kMissingGlyphUnits;
            if (!m_missingSeen.testAndSet(c.unicode()))
                units += kNewMissingGlyphUnits;
        }
        const QChar::Script script = c.script();
        if (script > QChar::Script_Common) {
            if (m_script > QChar::Script_Common && script != m_script)
                units += kScriptChangeUnits;
            if (!m_scriptsSeen.testAndSet(script))
                units += kNewScriptUnits;
            m_script = script;
        }
        return units * weight;
    }
    // Characters since the last place a line may break.
    int run() const { return m_run; }
    void breakRun() { m_run = 0; }

  private:
    // A set of small numbers; testAndSet tells whether the number was in it before.
    template <size_t N> struct Seen {
        std::vector<bool> bits = std::vector<bool>(N);
        bool testAndSet(size_t n) {
            const bool was = bits[n % N];
            bits[n % N] = true;
            return was;
        }
    };
    const GlyphCheck& m_hasGlyph;
    Seen<0x10000> m_missingSeen;
    Seen<QChar::ScriptCount> m_scriptsSeen;
    QChar::Script m_script = QChar::Script_Unknown;
    int m_run = 0;
};

bool isVoidElement(const QString& name) {
    static const QStringList names{"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                   "input", "link", "meta", "param", "source", "track", "wbr"};
    return names.contains(name);
}
bool closesParagraph(const QString& name) {
    static const QStringList names{"address", "blockquote", "div",   "dl", "h1", "h2",
                                   "h3",      "h4",         "h5",    "h6", "hr", "ol",
                                   "p",       "pre",        "table", "ul"};
    return names.contains(name);
}

// The open elements, as the browser nests them: a new paragraph, list item, row or cell
// closes the one still open in the same list or table.
class OpenElements {
  public:
    void open(const QString& name) {
        if (closesParagraph(name))
            closeOpen({"p"}, {"table", "td", "th", "li", "div", "blockquote"});
        if (name == u"li")
            closeOpen({"li"}, {"ul", "ol", "table"});
        else if (name == u"dt" || name == u"dd")
            closeOpen({"dt", "dd"}, {"dl", "table"});
        else if (name == u"tr")
            closeOpen({"tr"}, {"table"});
        else if (name == u"td" || name == u"th")
            closeOpen({"td", "th"}, {"tr", "table"});
        m_names.push_back(name);
        m_tables += name == u"table";
    }
    void close(const QString& name) {
        const auto at = std::find(m_names.rbegin(), m_names.rend(), name);
        if (at != m_names.rend())
            popTo(m_names.size() - 1 - (at - m_names.rbegin()));
    }
    int depth() const { return int(m_names.size()); }
    int tables() const { return m_tables; }

  private:
    // Closes the innermost of `names` unless one of `barriers` is open inside it.
    void closeOpen(const QStringList& names, const QStringList& barriers) {
        for (qsizetype i = m_names.size() - 1; i >= 0; --i) {
            if (barriers.contains(m_names[i]))
                return;
            if (names.contains(m_names[i])) {
                popTo(i);
                return;
            }
        }
    }
    void popTo(qsizetype index) {
        while (m_names.size() > index) {
            m_tables -= m_names.back() == u"table";
            m_names.pop_back();
        }
    }
    QStringList m_names;
    int m_tables = 0;
};

// Walks the markup once and tells whether laying it out could take long.
class MarkupCost {
  public:
    MarkupCost(const QString& html, const GlyphCheck& hasGlyph) : m_html(html), m_text(hasGlyph) {}

    bool tooCostly() {
        while (m_at < m_html.size()) {
            if (!(m_html[m_at] == u'<' && readTag()))
                addCharacter(m_html[m_at++]);
            if (m_units > kMaxWorkUnits || m_open.depth() > kMaxDepth ||
                m_open.tables() > kMaxTableDepth || m_text.run() > kMaxUnbrokenRun || m_wideSpan)
                return true;
        }
        return false;
    }

  private:
    double weight() const { return std::ldexp(1.0, m_open.tables()); }

    void addCharacter(QChar c) { m_units += m_text.add(c, weight()); }

    // A tag, comment or declaration starting at '<': consumed, or false when the '<' is text.
    bool readTag() {
        const qsizetype start = m_at;
        if (QStringView(m_html).mid(start).startsWith(u"<!--")) {
            const qsizetype end = m_html.indexOf(QStringLiteral("-->"), start + 4);
            m_at = end < 0 ? m_html.size() : end + 3;
            return true;
        }
        qsizetype i = start + 1;
        const bool closing = i < m_html.size() && m_html[i] == u'/';
        if (closing)
            ++i;
        if (i < m_html.size() && (m_html[i] == u'!' || m_html[i] == u'?')) {
            const qsizetype end = m_html.indexOf(u'>', i);
            m_at = end < 0 ? m_html.size() : end + 1;
            return true;
        }
        const qsizetype nameStart = i;
        while (i < m_html.size() && isNameChar(m_html[i]))
            ++i;
        if (i == nameStart)
            return false;
        const QString name = m_html.mid(nameStart, i - nameStart).toLower();
        m_at = i;
        const bool selfClosing = readAttributes();
        if (closing) {
            m_open.close(name);
            return true;
        }
        m_units += kElementUnits * weight();
        if (!selfClosing && !isVoidElement(name))
            m_open.open(name);
        return true;
    }

    // Up to and past the tag's '>'; notes column and row spans. True for a tag ending in "/>".
    bool readAttributes() {
        bool selfClosing = false;
        while (m_at < m_html.size()) {
            const QChar c = m_html[m_at];
            if (c == u'>') {
                ++m_at;
                return selfClosing;
            }
            selfClosing = c == u'/';
            if (!isNameChar(c)) {
                ++m_at;
                continue;
            }
            const qsizetype nameStart = m_at;
            while (m_at < m_html.size() && isNameChar(m_html[m_at]))
                ++m_at;
            const QString name = m_html.mid(nameStart, m_at - nameStart).toLower();
            while (m_at < m_html.size() && isSpace(m_html[m_at]))
                ++m_at;
            if (m_at >= m_html.size() || m_html[m_at] != u'=')
                continue;
            ++m_at;
            while (m_at < m_html.size() && isSpace(m_html[m_at]))
                ++m_at;
            const QString value = readValue();
            if (name == u"colspan" || name == u"rowspan" || name == u"span") {
                bool ok = false;
                const int span = value.trimmed().toInt(&ok);
                m_wideSpan = m_wideSpan || !ok || span > kMaxSpan;
            }
        }
        return selfClosing;
    }

    QString readValue() {
        if (m_at < m_html.size() && (m_html[m_at] == u'"' || m_html[m_at] == u'\'')) {
            const QChar quote = m_html[m_at++];
            const qsizetype end = m_html.indexOf(quote, m_at);
            const qsizetype stop = end < 0 ? m_html.size() : end;
            const QString value = m_html.mid(m_at, stop - m_at);
            m_at = end < 0 ? stop : end + 1;
            return value;
        }
        const qsizetype start = m_at;
        while (m_at < m_html.size() && !isSpace(m_html[m_at]) && m_html[m_at] != u'>')
            ++m_at;
        return m_html.mid(start, m_at - start);
    }

    const QString& m_html;
    qsizetype m_at = 0;
    OpenElements m_open;
    TextCost m_text;
    double m_units = 0;
    bool m_wideSpan = false;
};

// Control characters have no glyph: the layout searches every font for each one.
QString withoutControls(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\n' || u == u'\r' ||
            (u >= 0x20 && u != 0x7F && (u < 0x80 || u > 0x9F)))
            kept += c;
    }
    return kept;
}

QString decodeEntity(const QString& name) {
    if (name == u"lt")
        return QStringLiteral("<");
    if (name == u"gt")
        return QStringLiteral(">");
    if (name == u"amp")
        return QStringLiteral("&");
    if (name == u"quot")
        return QStringLiteral("\"");
    if (name == u"nbsp")
        return QStringLiteral(" ");
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive)
                              ? name.mid(2).toUInt(&ok, 16)
                              : name.mid(1).toUInt(&ok, 10);
        if (ok && code >= 0x20 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
            const char32_t ch = code;
            return QString::fromUcs4(&ch, 1);
        }
    }
    return {};
}

// The text of the page: tags and comments dropped, a line ended where a block ends, the common
// entities decoded, long words broken. It is cut where laying it out would take long.
QString plainTextOf(const QString& html, const GlyphCheck& hasGlyph, bool& cut) {
    static const QStringList lineEnders{"br", "p",  "div", "li",         "tr",    "h1", "h2",
                                        "h3", "h4", "h5",  "h6",         "table", "ul", "ol",
                                        "dt", "dd", "pre", "blockquote", "title"};
    QString text;
    TextCost cost(hasGlyph);
    double units = 0;
    cut = false;
    for (qsizetype i = 0; i < html.size();) {
        const QChar c = html[i];
        if (c == u'<') {
            const qsizetype end = html.indexOf(u'>', i);
            const QStringView tag = QStringView(html).mid(i + 1, end < 0 ? -1 : end - i - 1);
            qsizetype n = tag.startsWith(u'/') ? 1 : 0;
            const qsizetype nameStart = n;
            while (n < tag.size() && isNameChar(tag[n]))
                ++n;
            if (lineEnders.contains(tag.mid(nameStart, n - nameStart).toString().toLower()) &&
                !text.endsWith(u'\n')) {
                text += u'\n';
                cost.breakRun();
            }
            i = end < 0 ? html.size() : end + 1;
            continue;
        }
        QString piece(c);
        ++i;
        if (c == u'&') {
            const qsizetype semicolon = html.indexOf(u';', i);
            if (semicolon > i && semicolon - i <= 10) {
                const QString decoded = decodeEntity(html.mid(i, semicolon - i));
                if (!decoded.isEmpty()) {
                    piece = decoded;
                    i = semicolon + 1;
                }
            }
        }
        for (QChar p : piece) {
            units += cost.add(p, 1);
            if (units > kMaxWorkUnits) {
                cut = true;
                return text;
            }
            if (cost.run() > kMaxUnbrokenRun) {
                text += u'\n';
                cost.breakRun();
            }
            text += p;
        }
    }
    return text;
}
} // namespace

HelpPage prepareHelpPage(const QByteArray& bytes, const GlyphCheck& hasGlyph) {
    if (bytes.contains('\0'))
        return {HelpPage::Form::NotText, {}};
    const QString html = withoutControls(QString::fromUtf8(bytes));
    if (!MarkupCost(html, hasGlyph).tooCostly())
        return {HelpPage::Form::Html, html};
    bool cut = false;
    QString text = plainTextOf(html, hasGlyph, cut);
    text.prepend(QStringLiteral("(このヘルプファイルは込み入っているため、書式を付けずに%1表示して"
                                "います。)\n\n")
                     .arg(cut ? QStringLiteral("始めの部分だけを") : QString()));
    return {HelpPage::Form::PlainText, text};
}

} // namespace zel
