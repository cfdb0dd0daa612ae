#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace zel {

// Free-format field input over a decoded file. Blanks and line ends before a field are
// skipped; a number ends at a blank, a comma or the line end; a text ends at a comma or the
// line end, unless it starts with a double quote, when it runs to the next double quote.
// A failed read returns nothing and leaves the reader after the offending field, so the
// caller keeps the value it had and goes on with its next field.
class FieldReader {
  public:
    explicit FieldReader(QString text);

    std::optional<QString> readText();
    std::optional<double> readNumber();
    // A number rounded half to even that must fit in 16 bits.
    std::optional<int> readInt16();
    // A number rounded half to even that must fit in 32 bits.
    std::optional<std::int32_t> readInt32();

    bool atEnd() const { return m_pos >= m_text.size(); }

  private:
    bool skipToField();
    QString takeRawField(bool numeric);
    void finishField();
    bool atLineEnd() const;
    void skipLineEnd();

    QString m_text;
    qsizetype m_pos = 0;
};

// Parses a whole numeric field: optional sign, digits with an optional fraction, optional
// exponent. Anything else is not a number.
std::optional<double> parseNumberField(const QString& field);

} // namespace zel
