#include "editors/ConfirmLineEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace zel {

ConfirmLineEdit::ConfirmLineEdit(QWidget* parent) : QLineEdit(parent) {}

void ConfirmLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (!m_composing)
            emit confirmed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ConfirmLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    // A composition is running while the input method shows text not yet committed.
    m_composing = !event->preeditString().isEmpty();
    QLineEdit::inputMethodEvent(event);
}

void ConfirmLineEdit::focusOutEvent(QFocusEvent* event) {
    m_composing = false;
    QLineEdit::focusOutEvent(event);
}

} // namespace zel
