#include "editors/ListWriter.h"

#include "editors/ListEditModel.h"
#include "roster/RosterFiles.h"

#include <algorithm>

namespace zel {

QString ListWriteResult::message() const {
    if (ok)
        return {};
    QString text = lastSave.message();
    if (listWritten)
        text += QStringLiteral("\n当番の一覧は保存しました。当番マークの位置は、次にマークを"
                               "保存できたときに詰め直されます。");
    return text;
}

ListWriteResult writePersonList(RosterState& state, RosterFiles& files, const QStringList& names) {
    const SaveResult saved = files.savePersonFile(state, names);
    if (!saved.ok)
        return {false, false, saved};
    state.personCount = int(names.size());
    std::copy(names.begin(), names.end(), state.personNames.begin());
    return {true, true, saved};
}

ListWriteResult writeDutyList(RosterState& state, RosterFiles& files, DutyColour colour,
                              const QStringList& names) {
    const int limit = ListRules::duties(colour).maxEntries;
    if (names.size() > limit)
        return {false, false,
                SaveResult::failure(listFileOf(colour),
                                    QStringLiteral("当番は %1 個までです。").arg(limit))};
    const SaveResult listSaved = files.saveDutyList(state, colour, names);
    if (!listSaved.ok)
        return {false, false, listSaved};

    auto& stored = colour == DutyColour::Green ? state.greenDutyNames : state.yellowDutyNames;
    std::copy(names.begin(), names.end(), stored.begin());
    const int count = int(names.size());
    if (colour == DutyColour::Green) {
        state.greenDutyCount = count;
        state.greenMarkerWidth = longestNameLength(stored, count);
    } else {
        state.yellowDutyCount = count;
        state.yellowMarkerWidth = longestNameLength(stored, count);
    }

    const SaveResult jobSaved = files.saveJobFile(state);
    if (!jobSaved.ok)
        return {false, true, jobSaved};
    return {true, true, jobSaved};
}

} // namespace zel
