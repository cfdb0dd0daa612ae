#include "board/MarkerPictures.h"

#include "ui/Appearance.h"

#include <QPainter>

namespace zel {

namespace {
// An entry's art, never 0: the inputs' count (24 bits), the colour (8) and the entry number as
// the file gave it (32; one outside the list shows background).
quint64 artOf(quint32 inputs, DutyColour colour, int k) {
    const quint64 colourBits = colour == DutyColour::Green ? 1 : 2;
    return quint64(inputs & 0xFFFFFF) << 40 | colourBits << 32 | quint32(k);
}
} // namespace

void MarkerPictures::show(BoardView& board, int markers, const RosterState& state,
                          const TwipScale& scale, double devicePixelRatio) {
    board.setMarkerArt(this);
    if (m_green.beginLoad(state, scale, devicePixelRatio))
        ++m_greenInputs;
    if (m_yellow.beginLoad(state, scale, devicePixelRatio))
        ++m_yellowInputs;
    for (int m = 1; m <= markers; ++m) {
        const int code = state.markerDuty[m];
        const DutyColour colour = colourOfCode(code);
        const int k = dutyIndexOfCode(code);
        const bool green = colour == DutyColour::Green;
        (green ? m_green : m_yellow).use(k);
        board.setMarkerShows(m, artOf(green ? m_greenInputs : m_yellowInputs, colour, k));
        board.setMarkerShown(m, true);
    }
    m_green.endLoad();
    m_yellow.endLoad();
}

MarkerPictures::Entry MarkerPictures::entryOf(quint64 art) const {
    const bool green = (art >> 32 & 0xFF) == 1;
    return {green ? m_green : m_yellow, qint32(quint32(art))};
}

bool MarkerPictures::hasPicture(quint64 art) const {
    const Entry entry = entryOf(art);
    return entry.cache.hasPicture(entry.k);
}

QPixmap MarkerPictures::picture(quint64 art) {
    const Entry entry = entryOf(art);
    return entry.cache.picture(entry.k);
}

void MarkerPictures::paint(QPainter& painter, quint64 art, const QRect& rect) {
    const Entry entry = entryOf(art);
    // As the picture would be drawn in the marker: from its top left corner, cut at its edges,
    // background where the picture leaves the marker free.
    painter.save();
    painter.fillRect(rect, look::kWindowBackground);
    painter.setClipRect(rect, Qt::IntersectClip);
    entry.cache.paint(painter, entry.k, rect.topLeft());
    painter.restore();
}

} // namespace zel
