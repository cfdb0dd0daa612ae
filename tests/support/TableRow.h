#pragma once

#include <QTest>

namespace zel::test {

inline QString cell(const char* text) {
    return QString::fromUtf8(text);
}
template <typename T> const T& cell(const T& value) {
    return value;
}

// One row of a data table, on one line: C strings go in as QString, everything else as it is.
template <typename... Values> void row(const char* name, const Values&... values) {
    QTestData& data = QTest::newRow(name);
    ((data << cell(values)), ...);
}

} // namespace zel::test
