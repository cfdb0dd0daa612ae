#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace zel {

// One line across the board area that says what keeps the board from showing (a data folder
// that cannot be found or read), with a button that opens the dialog to choose another.
class FolderNotice : public QWidget {
    Q_OBJECT
  public:
    explicit FolderNotice(QWidget* parent = nullptr);
    void setLine(const QString& line);
    QString line() const;
    QPushButton* button() const { return m_button; }

  Q_SIGNALS:
    void buttonPressed();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* m_line;
    QPushButton* m_button;
};

} // namespace zel
