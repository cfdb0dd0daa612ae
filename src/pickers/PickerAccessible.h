#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <vector>

namespace zel {

class DutyPicker;

// A picker as assistive technology sees it: a list whose items are its duty names. The
// entries are painted, not widgets, so each one is an accessible object of its own.
class PickerAccessible : public QAccessibleWidget {
  public:
    explicit PickerAccessible(DutyPicker* picker);
    ~PickerAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // Makes Qt use this interface for every picker.
    static void install();

  private:
    DutyPicker* picker() const;
    mutable std::vector<QAccessible::Id> m_entries; // registered entry interfaces, by entry
};

} // namespace zel
