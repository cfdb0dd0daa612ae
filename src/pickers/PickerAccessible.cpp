#include "pickers/PickerAccessible.h"

#include "pickers/DutyPicker.h"

namespace zel {

namespace {
// One painted entry: a list item named by its duty.
class EntryAccessible : public QAccessibleInterface {
  public:
    EntryAccessible(DutyPicker* picker, int k) : m_picker(picker), m_k(k) {}

    bool isValid() const override { return m_picker && m_k < m_picker->entryCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_picker ? m_picker->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return m_picker ? QAccessible::queryAccessibleInterface(m_picker.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? m_picker->entryName(m_k) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect local = m_picker->entryRect(m_k);
        return QRect(m_picker->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        s.focused = s.selected = isValid() && m_picker->focusedEntry() == m_k;
        s.invisible = !m_picker || !m_picker->isVisible();
        return s;
    }

  private:
    QPointer<DutyPicker> m_picker;
    int m_k;
};

QAccessibleInterface* pickerFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("zel::DutyPicker"))
        if (auto* picker = qobject_cast<DutyPicker*>(object))
            return new PickerAccessible(picker);
    return nullptr;
}
} // namespace

PickerAccessible::PickerAccessible(DutyPicker* picker)
    : QAccessibleWidget(picker, QAccessible::List) {}

PickerAccessible::~PickerAccessible() {
    for (QAccessible::Id id : m_entries)
        QAccessible::deleteAccessibleInterface(id);
}

void PickerAccessible::install() {
    static const bool installed = (QAccessible::installFactory(pickerFactory), true);
    Q_UNUSED(installed);
}

DutyPicker* PickerAccessible::picker() const {
    return static_cast<DutyPicker*>(widget());
}

int PickerAccessible::childCount() const {
    return picker()->entryCount();
}

QAccessibleInterface* PickerAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    while (int(m_entries.size()) <= index) {
        const int k = int(m_entries.size());
        m_entries.push_back(
            QAccessible::registerAccessibleInterface(new EntryAccessible(picker(), k)));
    }
    return QAccessible::accessibleInterface(m_entries[index]);
}

int PickerAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (size_t k = 0; k < m_entries.size(); ++k)
        if (QAccessible::accessibleInterface(m_entries[k]) == child)
            return int(k) < childCount() ? int(k) : -1;
    return -1;
}

QAccessibleInterface* PickerAccessible::childAt(int x, int y) const {
    const QPoint local = picker()->mapFromGlobal(QPoint(x, y));
    for (int k = 0; k < childCount(); ++k)
        if (picker()->entryRect(k).contains(local))
            return child(k);
    return nullptr;
}

QAccessibleInterface* PickerAccessible::focusChild() const {
    const std::optional<int> k = picker()->focusedEntry();
    return k ? child(*k) : nullptr;
}

} // namespace zel
