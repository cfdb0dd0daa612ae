#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace zel {

// Print-style output, one value per line with CR LF. Numbers get one blank in front when not
// negative; texts are written as they are, or in double quotes where the reader would
// otherwise change them.
class PrintWriter {
  public:
    void number(double value);
    // Returns false (and records why) for a text no reader could get back unchanged.
    bool text(const QString& value);
    void markerRecord(int dutyCode, int person, std::int32_t offset);

    const QString& contents() const { return m_contents; }
    bool failed() const { return !m_error.isEmpty(); }
    const QString& error() const { return m_error; }

  private:
    QString m_contents;
    QString m_error;
};

// " 5", "-3", " 10.5": the sign place, then the shortest exact decimal.
QString formatNumber(double value);

// Why a text cannot be stored in a data file (in the user's words), or nothing.
std::optional<QString> unstorableTextReason(const QString& value);

// True when the text must be written in double quotes to read back unchanged.
bool textNeedsQuotes(const QString& value);

} // namespace zel
