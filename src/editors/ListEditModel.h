#pragma once

#include "roster/RosterState.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace zel {

// What a list may hold so that its file can be written and read back as it was.
struct ListRules {
    int maxEntries = kMaxPersons;
    int maxLength = 0;    // characters per entry; 0 for no limit
    QString limitMessage; // shown when the list is full

    static ListRules persons();
    static ListRules duties(DutyColour colour);
};

// A marker's offset is 300 twips per character of the widths before it; longer duty names
// would take the offsets beyond what the job file's readers accept.
inline constexpr int kMaxDutyNameLength = 109;

// The result of one edit: done, ignored (nothing to act on), or refused with a reason.
struct EditOutcome {
    enum Kind { Done, Ignored, Refused };
    Kind kind = Done;
    QString reason; // for Refused

    static EditOutcome done() { return {Done, {}}; }
    static EditOutcome ignored() { return {Ignored, {}}; }
    static EditOutcome refused(const QString& why) { return {Refused, why}; }
    bool isDone() const { return kind == Done; }
};

// The working copy of a name or duty list while an editor is open, with the editing rules:
// a change keeps the entry's place and clears the selection, an addition goes directly
// below the selected entry (at the top when none is) and becomes the selection, a removal
// clears the selection. Texts the files cannot hold and additions past the limit are refused.
class ListEditModel {
  public:
    ListEditModel(QStringList entries, ListRules rules);

    const QStringList& entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    std::optional<int> selected() const { return m_selected; }
    const ListRules& rules() const { return m_rules; }

    // Out-of-range rows select nothing.
    void select(std::optional<int> row);

    bool isFull() const { return size() >= m_rules.maxEntries; }
    // Why the text cannot become an entry, naming the character at fault; nothing if it can.
    std::optional<QString> refusal(const QString& text) const;

    // Row of the entry an edit changed or added, for the view to follow.
    std::optional<int> lastRow() const { return m_lastRow; }

    EditOutcome change(const QString& text);
    EditOutcome add(const QString& text);
    EditOutcome remove();

    // Why the whole list cannot be written as it stands (too many entries, or an entry the
    // file cannot hold, such as one read from a damaged file); nothing when it can.
    std::optional<QString> writeProblem() const;

  private:
    QStringList m_entries;
    ListRules m_rules;
    std::optional<int> m_selected;
    std::optional<int> m_lastRow;
};

} // namespace zel
