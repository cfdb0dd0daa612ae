#include "roster/PrintWriter.h"

#include "roster/CodePage.h"

#include <QList>
#include <cmath>

namespace zel {

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
bool isEdgeBlank(QChar c) {
    return c == u' ' || c == QChar(0x3000);
}
} // namespace

QString formatNumber(double value) {
    QString digits;
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        digits = QString::number(static_cast<long long>(value));
    else
        digits = QString::number(value, 'g', 15);
    return value < 0 ? digits : QStringLiteral(" ") + digits;
}

bool textNeedsQuotes(const QString& value) {
    return value.isEmpty() || value.contains(u',') || isEdgeBlank(value.front()) ||
           isEdgeBlank(value.back()) || value.front() == u'"';
}

std::optional<QString> unstorableTextReason(const QString& value) {
    for (char32_t ch : value.toUcs4()) {
        if (ch < 0x20 || ch == 0x7F)
            return QStringLiteral("制御文字 (U+%1) は保存できません。")
                .arg(QString::number(uint(ch), 16).toUpper().rightJustified(4, u'0'));
    }
    if (textNeedsQuotes(value) && value.contains(u'"'))
        return QStringLiteral(
            "「,」や前後の空白、先頭の「\"」を含む文字列には、「\"」を使えません。");
    if (const auto ch = firstUnencodableCharacter(value))
        return QStringLiteral("%1 は Shift-JIS で保存できない文字です。")
            .arg(describeCharacter(*ch));
    return std::nullopt;
}

void PrintWriter::number(double value) {
    m_contents += formatNumber(value) + kLineEnd;
}

bool PrintWriter::text(const QString& value) {
    if (const auto reason = unstorableTextReason(value)) {
        if (m_error.isEmpty())
            m_error = *reason;
        return false;
    }
    if (textNeedsQuotes(value))
        m_contents += u'"' + value + u'"' + kLineEnd;
    else
        m_contents += value + kLineEnd;
    return true;
}

void PrintWriter::markerRecord(int dutyCode, int person, std::int32_t offset) {
    m_contents += formatNumber(dutyCode) + u' ' + formatNumber(person) + u' ' +
                  formatNumber(offset) + kLineEnd;
}

} // namespace zel
