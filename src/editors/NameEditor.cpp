#include "editors/NameEditor.h"

#include "editors/ListWriter.h"
#include "roster/RosterState.h"

#include <algorithm>

namespace zel {

namespace {
QStringList personList(const RosterState& state) {
    QStringList names;
    for (int i = 0; i < std::clamp(state.personCount, 0, kSlots); ++i)
        names << state.personNames[i];
    return names;
}
} // namespace

ListEditorSetup NameEditor::setup() {
    ListEditorSetup s;
    s.heading = QStringLiteral("名前の編集");
    s.headingText = QColor(0, 0, 0);
    s.headingBack = QColor(255, 255, 192);
    s.geometry.outerWidth = 3500;
    s.geometry.outerHeight = 3000;
    s.geometry.heading = {360, 120, 1815, 360};
    s.geometry.list = {360, 600, 1935, 1140};
    s.geometry.box = {360, 1800, 1935, 270};
    s.geometry.write = {2400, 1560, 975, 375};
    s.geometry.change = {240, 2160, 615, 375};
    s.geometry.add = {960, 2160, 615, 375};
    s.geometry.remove = {1680, 2160, 615, 375};
    s.geometry.back = {2640, 2160, 615, 375};
    s.fixedFrame = true;
    s.tabOrder = {QStringLiteral("Command1"), QStringLiteral("List1"),
                  QStringLiteral("Text1"),    QStringLiteral("Command2"),
                  QStringLiteral("Command3"), QStringLiteral("Command4"),
                  QStringLiteral("Text2"),    QStringLiteral("Command5")};
    s.firstFocus = QStringLiteral("Command1");
    s.focusWriteAfterRemove = true;
    s.addBoxHidesOnEnter = false;
    s.boxNoun = QStringLiteral("名前");
    return s;
}

NameEditor::NameEditor(const AppContext& context, BoardHost& host)
    : ListEditor(context, host, ListEditModel(personList(context.state), ListRules::persons()),
                 setup()) {
    setObjectName(QStringLiteral("NameEditor"));
}

bool NameEditor::writeList(const QStringList& entries) {
    const ListWriteResult result = writePersonList(m_context.state, m_context.files, entries);
    if (!result.ok)
        showError(result.message());
    return result.ok;
}

void NameEditor::closedByWindow() {
    // No other window is open: the program ends and nothing is written.
    m_host.quitProgram();
}

} // namespace zel
