#include "roster/CodePage.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>

namespace zel {

bool codePageAvailable() {
    QStringDecoder decoder(kCodePageName);
    QStringEncoder encoder(kCodePageName);
    return decoder.isValid() && encoder.isValid();
}

namespace {
bool isLeadByte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(uchar b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
// True when the bytes end with the first half of a two-byte character.
bool endsInsideCharacter(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (i + 1 == bytes.size())
            return isLeadByte(uchar(bytes[i]));
        i += isLeadByte(uchar(bytes[i])) && isTrailByte(uchar(bytes[i + 1])) ? 2 : 1;
    }
    return false;
}
} // namespace

QString decodeDataFile(const QByteArray& bytes) {
    static const QByteArray utf8Bom("\xEF\xBB\xBF", 3);
    if (bytes.startsWith(utf8Bom)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return utf8(bytes.mid(3));
    }
    // ICU marks some undefined bytes (0x80, 0xA0, 0xFD to 0xFF, a first half without its
    // second) with U+001A instead of U+FFFD. A real 0x1A byte is never part of a two-byte
    // character, so the file is decoded piece by piece between them.
    QString text;
    const QList<QByteArray> pieces = bytes.split('\x1A');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            text += QChar(0x1A);
        const QByteArray& piece = pieces[i];
        QStringDecoder decoder(kCodePageName, QStringDecoder::Flag::Stateless);
        // Qt's ICU decoder keeps a cut-off first half waiting even when stateless and drops
        // it: mark the cut ourselves.
        QString decoded = endsInsideCharacter(piece)
                              ? decoder(piece.chopped(1)) + QChar(QChar::ReplacementCharacter)
                              : decoder(piece);
        text += decoded.replace(QChar(0x1A), QChar(QChar::ReplacementCharacter));
    }
    return text;
}

QString withCodePageLookAlikes(QString text) {
    // What the code page's bytes decode to, for the JIS forms input methods give.
    static constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
        {u'\u301C', u'\uFF5E'}, // wave dash, 81 60
        {u'\u2016', u'\u2225'}, // double vertical line, 81 61
        {u'\u2212', u'\uFF0D'}, // minus sign, 81 7C
        {u'\u00A2', u'\uFFE0'}, // cent sign, 81 91
        {u'\u00A3', u'\uFFE1'}, // pound sign, 81 92
        {u'\u00AC', u'\uFFE2'}, // not sign, 81 CA
        {u'\u2014', u'\u2015'}, // em dash, 81 5C
    };
    for (QChar& c : text) {
        for (const auto& [typed, stored] : kLookAlikes) {
            if (c == QChar(typed))
                c = QChar(stored);
        }
    }
    return text;
}

std::optional<char32_t> firstUnencodableCharacter(const QString& text) {
    // Most texts are fine as a whole; only one that is not is searched character by character.
    const QString stored = withCodePageLookAlikes(text);
    {
        QStringEncoder encoder(kCodePageName);
        QStringDecoder decoder(kCodePageName, QStringDecoder::Flag::Stateless);
        const QByteArray whole = encoder(stored);
        if (!encoder.hasError() && !stored.contains(QChar(0xFFFD)) && decoder(whole) == stored)
            return std::nullopt;
    }
    // An encoder that met an error keeps saying so: a new one for each character.
    for (char32_t ch : stored.toUcs4()) {
        // The replacement character stands for bytes that could not be read: refuse it
        // rather than write substitution bytes back.
        if (ch == 0xFFFD)
            return ch;
        const QString one = QString::fromUcs4(&ch, 1);
        QStringEncoder encoder(kCodePageName);
        const QByteArray bytes = encoder(one);
        if (encoder.hasError() || bytes.isEmpty())
            return ch;
        // A few characters are written as the bytes of another (U+F86F as those of "№"):
        // the name would read back changed.
        if (QStringDecoder(kCodePageName, QStringDecoder::Flag::Stateless).decode(bytes) != one)
            return ch;
    }
    return std::nullopt;
}

std::optional<QByteArray> encodeDataFile(const QString& text) {
    QStringEncoder encoder(kCodePageName);
    QByteArray bytes = encoder(withCodePageLookAlikes(text));
    if (encoder.hasError() || text.contains(QChar(0xFFFD)))
        return std::nullopt;
    return bytes;
}

QString describeCharacter(char32_t ch) {
    const QString hex = QString::number(uint(ch), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("「%1」(U+%2)").arg(QString::fromUcs4(&ch, 1), hex);
}

} // namespace zel
