#pragma once

#include "pickers/PickerConfig.h"
#include "pickers/PickerPainter.h"

namespace zel {

class BoardView;

// Gives every board marker the picture of its duty's picker entry. Pictures of entries that
// look as they did at the last load are not drawn again.
class MarkerPictures {
  public:
    void draw(BoardView& board, int markers, const RosterState& state, const TwipScale& scale,
              double devicePixelRatio);

  private:
    EntryPictureCache m_green{PickerConfig::green()};
    EntryPictureCache m_yellow{PickerConfig::yellow()};
};

} // namespace zel
