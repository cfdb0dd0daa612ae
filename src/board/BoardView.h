#pragma once

#include "layout/BoardLayout.h"
#include "units/TwipScale.h"

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <vector>

class QPushButton;

namespace zel {

// A name tag: takes presses so they do not reach the board behind it. It fills its own
// background instead of being an opaque widget: the board behind then paints as one rectangle
// rather than a region cut around every tag and marker, which is costly on a large board.
class NameTag : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
    void setBackground(const QColor& colour) { m_background = colour; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QColor m_background; // invalid: the board shows through
};

// A marker picture on the board (Picture2(m)) or the carried marker (Picture1). It shows the
// pixels it was given and repaints from them.
class MarkerView : public QWidget {
    Q_OBJECT
  public:
    // An opaque marker is left out of the board's own painting (the carried one, which moves
    // every millisecond); the markers on the board are not, for the reason given at NameTag.
    explicit MarkerView(QWidget* parent, bool opaque);
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }
    int markerNumber = 0; // 0 for the carried marker

  signals:
    void pressed(int markerNumber, QPointF boardPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QPixmap m_picture;
};

// The board area under the menu bar: background, row frames, tags, markers, buttons, the
// carried marker and the trash can. It only shows what the layout says; the main window
// decides what presses do.
class BoardView : public QWidget {
    Q_OBJECT
  public:
    explicit BoardView(QWidget* parent = nullptr);

    // Places everything for this layout; widgets are reused from the previous layout.
    void applyLayout(const BoardLayout& layout, const TwipScale& scale,
                     const std::vector<QString>& names, int fontSize);

    NameTag* tag(int person) const { return m_tags.at(person); }
    MarkerView* marker(int m) const { return m_markers.at(m - 1); }
    int shownTags() const { return m_shownTags; }
    int shownMarkers() const { return m_shownMarkers; }
    MarkerView* carriedMarker() const { return m_carried; }
    QLabel* trashCan() const { return m_trash; }
    QPushButton* greenButton() const { return m_green; }
    QPushButton* yellowButton() const { return m_yellow; }
    QPushButton* eraseButton() const { return m_erase; }

    // Board coordinates (twips) of a point given in this widget's pixels.
    QPointF toBoardTwips(QPointF widgetPixels) const;

  signals:
    void backgroundPressed(QPointF boardPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::vector<NameTag*> m_tags;
    std::vector<MarkerView*> m_markers;
    std::vector<QRect> m_frames;
    int m_shownTags = 0;
    int m_shownMarkers = 0;
    MarkerView* m_carried;
    QLabel* m_trash;
    QPushButton* m_green;
    QPushButton* m_yellow;
    QPushButton* m_erase;
    TwipScale m_scale;
    int m_fontSize = 0;

    friend class MainWindow;
    MarkerView* markerSlot(int index);
};

} // namespace zel
