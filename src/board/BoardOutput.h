#pragma once

#include "units/TwipScale.h"

class QWidget;

namespace zel {

struct AppContext;

// The menu's 印刷… : the print preview of the board as the files hold it.
void printBoard(QWidget* parent, const AppContext& context, const TwipScale& scale);

// The menu's 書き出し… : asks for a file (PDF, PNG at the screen's size or twice it, CSV) and
// writes the board into it; a failure is shown with the file's name and the cause.
void exportBoardWithDialog(QWidget* parent, AppContext& context, const TwipScale& scale);

} // namespace zel
