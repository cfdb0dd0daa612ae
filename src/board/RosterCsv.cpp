#include "board/RosterCsv.h"

#include <algorithm>
#include <vector>

namespace zel {

namespace {
// Marker m's duty as a table cell; a code past its list names no duty (the board shows the
// marker empty).
QString dutyCell(const RosterState& state, int code) {
    const DutyColour colour = colourOfCode(code);
    const int k = dutyIndexOfCode(code);
    const bool listed = k >= 0 && k < std::clamp(state.dutyCount(colour), 0, kMaxDuties);
    const QString name = listed ? state.dutyNames(colour)[k] : QString();
    return (colour == DutyColour::Green ? QStringLiteral("緑:") : QStringLiteral("黄:")) + name;
}
} // namespace

QString csvField(const QString& text, bool quoteEmpty) {
    const bool quoted = (quoteEmpty && text.isEmpty()) || text.contains(u',') ||
                        text.contains(u'"') || text.contains(u'\r') || text.contains(u'\n') ||
                        (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quoted)
        return text;
    QString inner = text;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

QByteArray rosterCsv(const RosterState& state) {
    const int persons = std::clamp(state.personCount, 0, kMaxPersons);
    std::vector<std::vector<int>> rows(persons); // marker numbers by person, left to right
    for (int m = 1; m <= state.markerSlotsInUse(); ++m) {
        const int p = state.markerPerson[m];
        if (p >= 0 && p < persons)
            rows[p].push_back(m);
    }
    size_t columns = 0;
    for (std::vector<int>& row : rows) {
        std::stable_sort(row.begin(), row.end(), [&state](int a, int b) {
            return state.markerOffset[a] < state.markerOffset[b];
        });
        columns = std::max(columns, row.size());
    }

    QString text;
    text += QStringLiteral("名前");
    for (size_t c = 1; c <= columns; ++c)
        text += QStringLiteral(",当番%1").arg(c);
    text += QStringLiteral("\r\n");
    for (int p = 0; p < persons; ++p) {
        text += csvField(state.personNames[p], true);
        for (int m : rows[p])
            text += u',' + csvField(dutyCell(state, state.markerDuty[m]));
        text += QString(int(columns - rows[p].size()), u',');
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace zel
