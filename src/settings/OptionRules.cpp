#include "settings/OptionRules.h"

#include "roster/PrintWriter.h"
#include "units/Numbers.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zel {

namespace {
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == QChar(0x3000);
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The characters of the text with the blanks taken out.
QString withoutBlanks(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c))
            kept += c;
    }
    return kept;
}

constexpr double kLargest16 = 32767;

QString captionOf(const OptionRow& row) {
    return QString::fromUtf16(row.caption);
}
} // namespace

double readLeadingNumber(const QString& text) {
    const QString s = withoutBlanks(text);
    qsizetype i = 0;
    QByteArray number;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        number += char(s[i++].unicode());
    bool anyDigit = false;
    while (i < s.size() && isDigit(s[i])) {
        number += char(s[i++].unicode());
        anyDigit = true;
    }
    if (i < s.size() && s[i] == u'.') {
        number += '.';
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            number += char(s[i++].unicode());
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0;
    // An exponent counts only when digits follow it: "7e" is 7, "7e2" is 700.
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponent += char(s[j++].unicode());
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                exponent += char(s[j++].unicode());
            number += exponent;
        }
    }
    return std::strtod(number.constData(), nullptr);
}

QString formatBoxNumber(double value) {
    QString text = formatNumber(value);
    if (text.startsWith(u' '))
        text.remove(0, 1);
    return text;
}

int barPosition(const OptionRow& row, double value) {
    if (std::isnan(value))
        return row.barMinimum;
    const double rounded = roundHalfEven(value);
    return int(std::clamp(rounded, double(row.barMinimum), double(row.barMaximum)));
}

double optionValue(const DisplayOptions& options, OptionField field) {
    switch (field) {
    case OptionField::NamesPerColumn:
        return options.namesPerColumn;
    case OptionField::DutiesPerColumn:
        return options.dutiesPerColumn;
    case OptionField::TagWidth:
        return options.tagWidth;
    case OptionField::TagHeight:
        return options.tagHeight;
    case OptionField::FontSize:
        return options.fontSize;
    }
    return 0;
}

namespace {
// The same limits the board's load applies, so a value written here is never replaced
// by a fallback at the next start.
std::optional<QString> problemOf(const OptionRow& row, double read) {
    const QString caption = captionOf(row);
    const double value = row.keepsFraction ? read : roundHalfEven(read);
    if (std::isnan(value))
        return QStringLiteral("「%1」には数を入れてください。").arg(caption);
    if (value > kLargest16)
        return QStringLiteral("「%1」は 32767 までです。").arg(caption);
    const bool usable = row.field == OptionField::TagWidth ? value > 0 : roundHalfEven(value) >= 1;
    if (!usable) {
        return row.field == OptionField::TagWidth
                   ? QStringLiteral("「%1」には 0 より大きい数を入れてください。").arg(caption)
                   : QStringLiteral("「%1」には 1 以上の数を入れてください。").arg(caption);
    }
    return std::nullopt;
}
} // namespace

OptionsReading readOptionBoxes(const std::array<QString, kOptionCount>& texts) {
    OptionsReading reading;
    std::array<double, kOptionCount> values{};
    for (int k = 0; k < kOptionCount; ++k) {
        const OptionRow& row = kOptionRows[k];
        const double read = readLeadingNumber(texts[k]);
        if (!reading.problem) {
            if (auto message = problemOf(row, read))
                reading.problem = OptionProblem{k, *message};
        }
        values[k] = row.keepsFraction ? read : roundHalfEven(read);
    }
    if (!reading.problem) {
        reading.options.namesPerColumn = values[0];
        reading.options.dutiesPerColumn = int(values[1]);
        reading.options.tagWidth = values[2];
        reading.options.tagHeight = int(values[3]);
        reading.options.fontSize = int(values[4]);
    }
    return reading;
}

} // namespace zel
