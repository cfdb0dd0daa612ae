// The main window's changes to the roster besides the carry: clearing every marker, undo and
// redo, rotation and a stored drop. Each writes first and ends with the board showing what the
// files hold.
#include "board/MainWindow.h"

#include "board/SharedEdit.h"
#include "board/StepNames.h"
#include "platform/Platform.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "roster/SaveStep.h"
#include "ui/Caption.h"

namespace zel {

void MainWindow::reportSaveFailure(const SaveResult& result) {
    m_context.platform.showError(this, kCaption, result.message());
}

void MainWindow::clearAllMarkers() {
    if (!m_context.platform.confirm(this, QStringLiteral("当番マークの消去"),
                                    QStringLiteral("すべてのマークを消します\n　よろしいですか？")))
        return;
    // Write first: on a failed write the board must go on showing what the file holds.
    const SharedSaveResult result = [this] {
        SaveStep step(m_context.files, kClearAllStepName);
        return saveSharedClear(m_context.files, m_context.state);
    }();
    if (result.outcome != SharedSaveResult::Outcome::Saved)
        m_context.platform.showError(this, kCaption, result.message());
    reload();
}

void MainWindow::undoStep() {
    if (!m_history.canUndo())
        return;
    if (const SaveResult result = m_history.undo(); !result.ok)
        reportSaveFailure(result);
    reloadFromScratch();
}

void MainWindow::redoStep() {
    if (!m_history.canRedo())
        return;
    if (const SaveResult result = m_history.redo(); !result.ok)
        reportSaveFailure(result);
    reloadFromScratch();
}

void MainWindow::reloadFromScratch() {
    // A load keeps what the record held for a file that is missing, and an undo can remove a
    // file its change created: start from a fresh record, as the program does, keeping only
    // the window's place.
    if (m_loaded)
        recordPosition();
    RosterState& state = m_context.state;
    RosterState fresh;
    fresh.savedTop = state.savedTop;
    fresh.savedLeft = state.savedLeft;
    fresh.captionBlinkState = state.captionBlinkState;
    state = fresh;
    reload();
}

void MainWindow::rotateDuties(RotateDirection direction) {
    RosterState& state = m_context.state;
    if (!canRotate(state))
        return;
    const SaveResult result = [&] {
        SaveStep step(m_context.files,
                      direction == RotateDirection::Next ? kRotateNextName : kRotatePreviousName);
        rotateMarkers(state, direction);
        return m_context.files.saveJobFile(state);
    }();
    if (!result.ok)
        reportSaveFailure(result);
    reload();
}

void MainWindow::saveMarkerEdit(const MarkerEdit& edit) {
    // Another PC may have saved since this board was read: the change is made again on what
    // the file holds then, and only a change that no longer applies is refused.
    const SharedSaveResult result = [&] {
        SaveStep step(m_context.files, markerEditStepName(m_context.state, edit));
        return saveSharedMarkerEdit(m_context.files, m_context.state, edit);
    }();
    if (result.outcome != SharedSaveResult::Outcome::Saved)
        m_context.platform.showError(this, kCaption, result.message());
    // The board shows what the file holds, whether or not the save went through.
    reload();
}

} // namespace zel
