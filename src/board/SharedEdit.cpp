#include "board/SharedEdit.h"

#include "roster/RosterFiles.h"
#include "roster/RosterState.h"

namespace zel {

namespace {
std::optional<QString> nameOf(const std::array<QString, kSlots>& names, int count, int index) {
    if (index >= 0 && index < count)
        return names[index];
    return std::nullopt;
}
std::optional<QString> dutyNameOf(const RosterState& state, int code) {
    const DutyColour colour = colourOfCode(code);
    return nameOf(state.dutyNames(colour), state.dutyCount(colour), dutyIndexOfCode(code));
}
bool refusedAsChanged(const SaveResult& result) {
    return !result.ok && result.reason == RosterFiles::changedOnDiskReason();
}
} // namespace

SharedEdit SharedEdit::of(const MarkerEdit& edit, const RosterState& state) {
    SharedEdit shared{edit, -1, {}, dutyNameOf(state, edit.dutyCode)};
    if (edit.kind != MarkerEdit::Kind::Add && edit.marker >= 1 && edit.marker < kSlots)
        shared.fromPerson = state.markerPerson[edit.marker];
    const int person = edit.kind == MarkerEdit::Kind::Remove ? shared.fromPerson : edit.person;
    shared.personName = nameOf(state.personNames, state.personCount, person);
    return shared;
}

bool SharedEdit::rebase(const RosterState& state) {
    if (!dutyName || dutyNameOf(state, edit.dutyCode) != dutyName)
        return false;
    const int person = edit.kind == MarkerEdit::Kind::Remove ? fromPerson : edit.person;
    if (!personName || nameOf(state.personNames, state.personCount, person) != personName)
        return false;
    if (edit.kind == MarkerEdit::Kind::Add)
        return state.markerCount < kMaxMarkers;
    // The record with the same duty and person: the one of the same number if it still is,
    // else the first.
    auto matches = [&](int m) {
        return m >= 1 && m <= state.markerCount && state.markerDuty[m] == edit.dutyCode &&
               state.markerPerson[m] == fromPerson;
    };
    if (matches(edit.marker))
        return true;
    for (int m = 1; m <= state.markerCount; ++m)
        if (matches(m)) {
            edit.marker = m;
            return true;
        }
    return false;
}

QString SharedSaveResult::message() const {
    switch (outcome) {
    case Outcome::Saved:
        return {};
    case Outcome::Failed:
        return save.message();
    case Outcome::NoLongerApplies:
        return QStringLiteral("ほかのパソコンで名簿が変更されたため、この操作はできなくなりました"
                              " (マークが消されたか、名前や当番が変わりました)。\n"
                              "いまの名簿を表示します。必要なら、もう一度操作してください。");
    }
    return {};
}

SharedSaveResult saveSharedMarkerEdit(RosterFiles& files, RosterState& state,
                                      const MarkerEdit& edit) {
    SharedEdit shared = SharedEdit::of(edit, state);
    SharedSaveResult result;
    for (;;) {
        ++result.attempts;
        const int leftOut = applyMarkerEdit(state, shared.edit);
        result.save = files.saveJobFile(state, leftOut);
        if (result.save.ok) {
            if (leftOut != 0)
                state.markerCount -= 1;
            result.outcome = SharedSaveResult::Outcome::Saved;
            return result;
        }
        files.loadAll(state); // what the files hold now, whatever happens next
        if (!refusedAsChanged(result.save) || result.attempts >= kSharedSaveAttempts) {
            result.outcome = SharedSaveResult::Outcome::Failed;
            return result;
        }
        if (!shared.rebase(state)) {
            result.outcome = SharedSaveResult::Outcome::NoLongerApplies;
            return result;
        }
    }
}

SharedSaveResult saveSharedClear(RosterFiles& files, RosterState& state) {
    SharedSaveResult result;
    for (;;) {
        ++result.attempts;
        result.save = files.clearJobFile(state);
        if (result.save.ok)
            return result;
        files.loadAll(state);
        if (!refusedAsChanged(result.save) || result.attempts >= kSharedSaveAttempts) {
            result.outcome = SharedSaveResult::Outcome::Failed;
            return result;
        }
    }
}

} // namespace zel
