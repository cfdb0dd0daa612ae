#include "roster/FieldReader.h"

#include "units/Numbers.h"

#include <cmath>

namespace zel {

namespace {
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isLineEndChar(QChar c) {
    return c == u'\r' || c == u'\n';
}
} // namespace

FieldReader::FieldReader(QString text) : m_text(std::move(text)) {}

bool FieldReader::atLineEnd() const {
    return m_pos < m_text.size() && isLineEndChar(m_text[m_pos]);
}

void FieldReader::skipLineEnd() {
    // CR LF, LF and a lone CR all end a line.
    if (m_pos < m_text.size() && m_text[m_pos] == u'\r')
        ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
        ++m_pos;
}

bool FieldReader::skipToField() {
    while (m_pos < m_text.size() && (isBlank(m_text[m_pos]) || isLineEndChar(m_text[m_pos])))
        ++m_pos;
    return m_pos < m_text.size();
}

void FieldReader::finishField() {
    while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
        ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == u',')
        ++m_pos;
    else if (atLineEnd())
        skipLineEnd();
}

QString FieldReader::takeRawField(bool numeric) {
    if (m_text[m_pos] == u'"') {
        ++m_pos;
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != u'"' && !isLineEndChar(m_text[m_pos]))
            ++m_pos;
        QString field = m_text.mid(start, m_pos - start);
        if (m_pos < m_text.size() && m_text[m_pos] == u'"')
            ++m_pos;
        // Whatever stands between the closing quote and the delimiter is dropped.
        while (m_pos < m_text.size() && m_text[m_pos] != u',' && !isLineEndChar(m_text[m_pos]))
            ++m_pos;
        return field;
    }
    const qsizetype start = m_pos;
    while (m_pos < m_text.size()) {
        const QChar c = m_text[m_pos];
        if (c == u',' || isLineEndChar(c) || (numeric && isBlank(c)))
            break;
        ++m_pos;
    }
    QString field = m_text.mid(start, m_pos - start);
    while (!field.isEmpty() && isBlank(field.back()))
        field.chop(1);
    return field;
}

std::optional<QString> FieldReader::readText() {
    if (!skipToField())
        return std::nullopt;
    QString field = takeRawField(false);
    finishField();
    return field;
}

std::optional<double> FieldReader::readNumber() {
    if (!skipToField())
        return std::nullopt;
    const QString field = takeRawField(true);
    finishField();
    if (field.isEmpty())
        return 0.0; // an empty field between two commas reads as 0
    return parseNumberField(field);
}

std::optional<int> FieldReader::readInt16() {
    const auto value = readNumber();
    if (!value)
        return std::nullopt;
    const double r = roundHalfEven(*value);
    if (!fitsInt16(r))
        return std::nullopt;
    return int(r);
}

std::optional<std::int32_t> FieldReader::readInt32() {
    const auto value = readNumber();
    if (!value)
        return std::nullopt;
    const double r = roundHalfEven(*value);
    if (r < -2147483648.0 || r > 2147483647.0)
        return std::nullopt;
    return std::int32_t(r);
}

namespace {
// True when `field` is a plain decimal number: [+-] digits [. digits] or [+-] . digits, with an
// optional exponent whose letter may be E or D (the old BASIC double exponent).
bool isNumberText(const QString& field) {
    qsizetype i = 0;
    const qsizetype n = field.size();
    auto digitsFrom = [&](qsizetype& at) {
        const qsizetype start = at;
        while (at < n && field[at] >= u'0' && field[at] <= u'9')
            ++at;
        return at - start;
    };
    if (i < n && (field[i] == u'+' || field[i] == u'-'))
        ++i;
    qsizetype mantissaDigits = digitsFrom(i);
    if (i < n && field[i] == u'.') {
        ++i;
        mantissaDigits += digitsFrom(i);
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && QStringView(u"eEdD").contains(field[i])) {
        ++i;
        if (i < n && (field[i] == u'+' || field[i] == u'-'))
            ++i;
        if (digitsFrom(i) == 0)
            return false;
    }
    return i == n;
}
} // namespace

std::optional<double> parseNumberField(const QString& field) {
    if (!isNumberText(field))
        return std::nullopt;
    QString normalised = field;
    normalised.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double value = normalised.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace zel
