#include "board/MarkerPictures.h"

#include "board/BoardView.h"

namespace zel {

void MarkerPictures::draw(BoardView& board, int markers, const RosterState& state,
                          const TwipScale& scale, double devicePixelRatio) {
    m_green.beginLoad(state, scale, devicePixelRatio);
    m_yellow.beginLoad(state, scale, devicePixelRatio);
    for (int m = 1; m <= markers; ++m) {
        const int code = state.markerDuty[m];
        EntryPictureCache& pictures = colourOfCode(code) == DutyColour::Green ? m_green : m_yellow;
        MarkerView* view = board.marker(m);
        view->setPicture(pictures.picture(dutyIndexOfCode(code)));
        view->setAccessibleName(QStringLiteral("当番マーク %1").arg(m));
        view->show();
    }
    m_green.endLoad();
    m_yellow.endLoad();
}

} // namespace zel
