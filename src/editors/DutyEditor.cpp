#include "editors/DutyEditor.h"

#include "editors/ListWriter.h"
#include "roster/RosterState.h"

#include <algorithm>

namespace zel {

namespace {
QStringList dutyList(const RosterState& state, DutyColour colour) {
    QStringList names;
    const auto& stored = state.dutyNames(colour);
    for (int i = 0; i < std::clamp(state.dutyCount(colour), 0, kSlots); ++i)
        names << stored[i];
    return names;
}
} // namespace

DutyEditorConfig DutyEditorConfig::green() {
    DutyEditorConfig c;
    c.colour = DutyColour::Green;
    c.heading = QStringLiteral("緑色当番の編集");
    c.headingText = QColor(0, 255, 0);
    c.focusWriteAfterRemove = true;
    c.tabOrder = {QStringLiteral("List1"),    QStringLiteral("Command1"),
                  QStringLiteral("Text1"),    QStringLiteral("Command2"),
                  QStringLiteral("Command3"), QStringLiteral("Command4"),
                  QStringLiteral("Text2"),    QStringLiteral("Command5")};
    c.firstFocus = QStringLiteral("List1");
    c.fixedFrame = false;
    return c;
}

DutyEditorConfig DutyEditorConfig::yellow() {
    DutyEditorConfig c;
    c.colour = DutyColour::Yellow;
    c.heading = QStringLiteral("黄色当番の編集");
    c.headingText = QColor(255, 255, 0);
    c.focusWriteAfterRemove = false;
    c.tabOrder = {QStringLiteral("Command5"), QStringLiteral("Text2"),
                  QStringLiteral("Command4"), QStringLiteral("Command3"),
                  QStringLiteral("Command2"), QStringLiteral("Text1"),
                  QStringLiteral("Command1"), QStringLiteral("List1")};
    c.firstFocus = QStringLiteral("Command5");
    c.fixedFrame = true;
    return c;
}

ListEditorSetup DutyEditor::setup(const DutyEditorConfig& config) {
    ListEditorSetup s;
    s.heading = config.heading;
    s.headingText = config.headingText;
    s.headingBack = QColor(0, 0, 192);
    s.geometry.outerWidth = 3800;
    s.geometry.outerHeight = 3000;
    s.geometry.heading = {120, 0, 2175, 360};
    s.geometry.list = {120, 480, 2300, 1140};
    s.geometry.box = {120, 1680, 2300, 270};
    s.geometry.write = {2640, 1440, 975, 375};
    s.geometry.change = {0, 2040, 615, 375};
    s.geometry.add = {720, 2040, 615, 375};
    s.geometry.remove = {1440, 2040, 615, 375};
    s.geometry.back = {2880, 2040, 615, 375};
    s.fixedFrame = config.fixedFrame;
    s.tabOrder = config.tabOrder;
    s.firstFocus = config.firstFocus;
    s.focusWriteAfterRemove = config.focusWriteAfterRemove;
    s.addBoxHidesOnEnter = true;
    s.boxNoun = QStringLiteral("当番");
    return s;
}

DutyEditor::DutyEditor(const AppContext& context, BoardHost& host, const DutyEditorConfig& config)
    : ListEditor(
          context, host,
          ListEditModel(dutyList(context.state, config.colour), ListRules::duties(config.colour)),
          setup(config)),
      m_colour(config.colour) {
    setObjectName(config.colour == DutyColour::Green ? QStringLiteral("GreenDutyEditor")
                                                     : QStringLiteral("YellowDutyEditor"));
}

bool DutyEditor::writeList(const QStringList& entries) {
    const ListWriteResult result =
        writeDutyList(m_context.state, m_context.files, m_colour, entries);
    if (!result.ok)
        showError(result.message());
    return result.ok;
}

void DutyEditor::closedByWindow() {
    m_host.showBoard();
}

} // namespace zel
