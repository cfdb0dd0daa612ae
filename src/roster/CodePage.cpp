// zeltomil-core
#include "roster/CodePage.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace zel {

bool codePageAvailable() {
    QStringDecoder decoder(kCodePageName);
    QStringEncoder encoder(kCodePageName);
    return decoder.isValid() && encoder.isValid();
}

QString decodeDataFile(const QByteArray& bytes) {
    static const QByteArray utf8Bom("\xEF\xBB\xBF", 3);
    if (bytes.startsWith(utf8Bom)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return utf8(bytes.mid(3));
    }
    QStringDecoder decoder(kCodePageName, QStringDecoder::Flag::Stateless);
    return decoder(bytes);
}

std::optional<char32_t> firstUnencodableCharacter(const QString& text) {
    QStringEncoder encoder(kCodePageName);
    for (char32_t ch : text.toUcs4()) {
        // The replacement character stands for bytes that could not be read: refuse it
        // rather than write substitution bytes back.
        if (ch == 0xFFFD)
            return ch;
        const QString one = QString::fromUcs4(&ch, 1);
        encoder.resetState();
        const QByteArray bytes = encoder(one);
        if (encoder.hasError() || bytes.isEmpty())
            return ch;
    }
    return std::nullopt;
}

std::optional<QByteArray> encodeDataFile(const QString& text) {
    QStringEncoder encoder(kCodePageName);
    QByteArray bytes = encoder(text);
    if (encoder.hasError() || text.contains(QChar(0xFFFD)))
        return std::nullopt;
    return bytes;
}

QString describeCharacter(char32_t ch) {
    const QString hex = QString::number(uint(ch), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("「%1」(U+%2)").arg(QString::fromUcs4(&ch, 1), hex);
}

} // namespace zel
