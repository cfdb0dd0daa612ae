#pragma once

#include "board/AppContext.h"

#include <QWidget>

namespace zel {

// A small stand-in window for a dialog that is not built yet: it opens where the board was
// and returns to the board.
class PlaceholderDialog : public QWidget {
    Q_OBJECT
  public:
    PlaceholderDialog(const QString& title, const AppContext& context, BoardHost& host);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    BoardHost& m_host;
    bool m_returning = false;
};

} // namespace zel
