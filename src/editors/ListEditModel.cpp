#include "editors/ListEditModel.h"

#include "roster/PrintWriter.h"

namespace zel {

ListRules ListRules::persons() {
    return {kMaxPersons, 0,
            QStringLiteral("名前は %1 人までです。これ以上は追加できません。").arg(kMaxPersons)};
}

ListRules ListRules::duties(DutyColour colour) {
    // A yellow duty's code is its index, and codes from 100 on are green duties: the
    // yellow list therefore ends one entry earlier.
    if (colour == DutyColour::Green)
        return {
            kMaxDuties, kMaxDutyNameLength,
            QStringLiteral("緑色当番は %1 個までです。これ以上は追加できません。").arg(kMaxDuties)};
    return {
        kGreenCodeBase, kMaxDutyNameLength,
        QStringLiteral("黄色当番は %1 個までです。これ以上は追加できません。").arg(kGreenCodeBase)};
}

ListEditModel::ListEditModel(QStringList entries, ListRules rules)
    : m_entries(std::move(entries)), m_rules(std::move(rules)) {}

void ListEditModel::select(std::optional<int> row) {
    if (row && (*row < 0 || *row >= size()))
        row.reset();
    m_selected = row;
}

std::optional<QString> ListEditModel::refusal(const QString& text) const {
    if (const auto reason = unstorableTextReason(text))
        return reason;
    if (m_rules.maxLength > 0 && text.size() > m_rules.maxLength)
        return QStringLiteral("当番の名前は %1 文字までです (いまは %2 文字)。")
            .arg(m_rules.maxLength)
            .arg(text.size());
    return std::nullopt;
}

EditOutcome ListEditModel::change(const QString& text) {
    m_lastRow.reset();
    if (!m_selected)
        return EditOutcome::ignored();
    if (const auto why = refusal(text))
        return EditOutcome::refused(*why);
    m_entries[*m_selected] = text;
    m_lastRow = m_selected;
    m_selected.reset();
    return EditOutcome::done();
}

EditOutcome ListEditModel::add(const QString& text) {
    m_lastRow.reset();
    if (isFull())
        return EditOutcome::refused(m_rules.limitMessage);
    if (const auto why = refusal(text))
        return EditOutcome::refused(*why);
    const int row = m_selected ? *m_selected + 1 : 0;
    m_entries.insert(row, text);
    m_selected = row;
    m_lastRow = row;
    return EditOutcome::done();
}

EditOutcome ListEditModel::remove() {
    m_lastRow.reset();
    if (!m_selected)
        return EditOutcome::ignored();
    m_entries.removeAt(*m_selected);
    m_lastRow = m_selected;
    m_selected.reset();
    return EditOutcome::done();
}

std::optional<QString> ListEditModel::writeProblem() const {
    if (size() > m_rules.maxEntries)
        return QStringLiteral("%1 個の項目があります。%2 個まで減らしてください。")
            .arg(size())
            .arg(m_rules.maxEntries);
    for (int i = 0; i < size(); ++i) {
        if (const auto why = refusal(m_entries[i]))
            return QStringLiteral("上から %1 番目の「%2」: %3").arg(i + 1).arg(m_entries[i], *why);
    }
    return std::nullopt;
}

} // namespace zel
