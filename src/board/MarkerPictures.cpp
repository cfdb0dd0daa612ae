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
        board.setMarkerPicture(m, pictures.picture(dutyIndexOfCode(code)));
        board.setMarkerShown(m, true);
    }
    m_green.endLoad();
    m_yellow.endLoad();
}

} // namespace zel
