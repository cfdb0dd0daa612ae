#pragma once

#include "editors/ListEditor.h"

namespace zel {

// Edits the person list and writes it to the person file. The add box stays on screen after
// an addition, so Enter again adds the same name once more. Closing the window by its close
// control ends the program, writing nothing.
class NameEditor : public ListEditor {
    Q_OBJECT
  public:
    NameEditor(const AppContext& context, BoardHost& host);

    static ListEditorSetup setup();

  protected:
    bool writeList(const QStringList& entries) override;
    void closedByWindow() override;
};

} // namespace zel
