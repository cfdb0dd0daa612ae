#pragma once

#include <QLineEdit>

namespace zel {

// A text box whose Enter confirms: the key is consumed (it inserts nothing and never reaches
// a button of the window) and `confirmed` is emitted. Enter that an input method uses to
// finish a composition belongs to the input method and confirms nothing.
class ConfirmLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit ConfirmLineEdit(QWidget* parent = nullptr);

    bool isComposing() const { return m_composing; }

  signals:
    void confirmed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    bool m_composing = false;
};

} // namespace zel
