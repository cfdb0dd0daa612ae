#pragma once

#include "editors/ListEditor.h"

namespace zel {

// How the green and the yellow duty editor differ.
struct DutyEditorConfig {
    DutyColour colour = DutyColour::Green;
    QString heading;
    QColor headingText;
    bool focusWriteAfterRemove = true;
    QStringList tabOrder;
    QString firstFocus;
    bool fixedFrame = false;

    static DutyEditorConfig green();
    static DutyEditorConfig yellow();
};

// Edits one duty list. 書き込み writes the list file, then the job file with every marker's
// offset repacked for the list's new marker width. Every way out brings the board back.
class DutyEditor : public ListEditor {
    Q_OBJECT
  public:
    DutyEditor(const AppContext& context, BoardHost& host, const DutyEditorConfig& config);

    DutyColour colour() const { return m_colour; }
    static ListEditorSetup setup(const DutyEditorConfig& config);

  protected:
    bool writeList(const QStringList& entries) override;
    void closedByWindow() override;

  private:
    DutyColour m_colour;
};

} // namespace zel
