#pragma once

#include "board/BoardView.h"
#include "pickers/PickerConfig.h"
#include "pickers/PickerPainter.h"

namespace zel {

// What every board marker shows: the picture of its duty's picker entry. Entries that look as
// they did at the last load keep their pictures; pictures are drawn when first needed.
class MarkerPictures : public MarkerArt {
  public:
    // Tells the board what each of its first `markers` markers shows, and shows them.
    void show(BoardView& board, int markers, const RosterState& state, const TwipScale& scale,
              double devicePixelRatio);

    bool hasPicture(quint64 art) const override;
    QPixmap picture(quint64 art) override;
    void paint(QPainter& painter, quint64 art, const QRect& rect) override;

  private:
    struct Entry {
        EntryPictureCache& cache;
        int k;
    };
    Entry entryOf(quint64 art) const;

    mutable EntryPictureCache m_green{PickerConfig::green()};
    mutable EntryPictureCache m_yellow{PickerConfig::yellow()};
    // Counts the changes of each picker's inputs: an entry's art changes with them.
    quint32 m_greenInputs = 0;
    quint32 m_yellowInputs = 0;
};

} // namespace zel
