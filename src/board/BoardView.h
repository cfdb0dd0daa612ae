#pragma once

#include "layout/BoardLayout.h"
#include "units/TwipScale.h"

#include <QAccessible>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QPushButton;

namespace zel {

// The trash can shown while a board marker is carried: it takes presses so they do not reach
// the board behind it.
class TrashCan : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The carried marker (Picture1): it shows the pixels it was given and repaints from them. It
// is opaque, so moving it every millisecond repaints only what it uncovers.
class MarkerView : public QWidget {
    Q_OBJECT
  public:
    explicit MarkerView(QWidget* parent);
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }

  signals:
    void pressed(QPointF boardPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QPixmap m_picture;
};

// What the markers on the board show: each marker shows a piece of art, known by a number
// that changes when what it shows changes (0: nothing).
class MarkerArt {
  public:
    virtual ~MarkerArt() = default;
    virtual bool hasPicture(quint64 art) const = 0;
    // Its picture, drawn now unless drawn before.
    virtual QPixmap picture(quint64 art) = 0;
    // Draws it as its picture shows it in `rect`, without making the picture.
    virtual void paint(QPainter& painter, quint64 art, const QRect& rect) = 0;
};

// The board area under the menu bar: background, row frames, name tags, markers, buttons, the
// carried marker and the trash can. It only shows what the layout says; the main window
// decides what presses do.
//
// The name tags and the markers on the board are drawn here, not made of a widget each: a
// large board has hundreds of them, and a widget apiece cost more to make, place and paint than
// their texts. For assistive technology each one is an object of its own all the same. Each is
// drawn at its first paint and shown from a picture after that: a carried marker passing over
// them repaints them many times a second, and a picture is far cheaper to show than a text.
class BoardView : public QWidget {
    Q_OBJECT
  public:
    explicit BoardView(QWidget* parent = nullptr);
    ~BoardView() override;

    // Places everything for this layout; what did not change is not repainted.
    void applyLayout(const BoardLayout& layout, const TwipScale& scale,
                     const std::vector<QString>& names, int fontSize);

    int shownTags() const { return int(m_tags.size()); }
    int shownMarkers() const { return int(m_markers.size()); }
    // Person p's tag (0 ..) and marker m (1 .. shownMarkers), in this widget's pixels.
    QRect tagRect(int person) const { return m_tags.at(person).rect; }
    const QString& tagName(int person) const { return m_tags.at(person).name; }
    QRect markerRect(int m) const { return m_markers.at(m - 1).rect; }
    // What marker m shows; a marker is drawn straight onto the board the first time, and from
    // its picture after that: most markers are painted only once.
    void setMarkerArt(MarkerArt* art) { m_art = art; }
    void setMarkerShows(int m, quint64 art);
    QPixmap markerPicture(int m) const;
    // A marker picked up to be moved leaves its place empty until it is dropped.
    bool isMarkerShown(int m) const { return m_markers.at(m - 1).shown; }
    void setMarkerShown(int m, bool shown);
    // Repaints the part of the markers under a region of the board.
    void repaintMarkersIn(const QRegion& region);
    // The marker pressed at a point of this widget, or 0.
    int markerAt(QPoint widgetPixels) const;
    int tagAt(QPoint widgetPixels) const;

    // What a screen reader says of a tag (its description: the person's duties) and of a
    // marker (its name); asked only when a reader asks.
    struct Spoken {
        std::function<QString(int person)> tagDescription;
        std::function<QString(int m)> markerName;
    };
    void setSpoken(Spoken spoken) { m_spoken = std::move(spoken); }
    QString tagDescription(int person) const;
    QString markerName(int m) const;
    // The tag or marker the keyboard stands on, told to assistive technology.
    struct ReaderFocus {
        int person = -1;      // a tag, or
        int marker = 0;       // a marker on the board, or
        bool carried = false; // the carried marker
    };
    void setReaderFocus(std::optional<ReaderFocus> focus);
    std::optional<ReaderFocus> readerFocus() const { return m_readerFocus; }

    MarkerView* carriedMarker() const { return m_carried; }
    QLabel* trashCan() const { return m_trash; }
    QPushButton* greenButton() const { return m_green; }
    QPushButton* yellowButton() const { return m_yellow; }
    QPushButton* eraseButton() const { return m_erase; }

    // Board coordinates (twips) of a point given in this widget's pixels.
    QPointF toBoardTwips(QPointF widgetPixels) const;

  signals:
    void backgroundPressed(QPointF boardPosition);
    void markerPressed(int m, QPointF boardPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    struct Tag {
        QRect rect;
        QString name;
        bool painted = false; // once: then from its picture
        QPixmap picture;      // made at its second paint
    };
    struct Marker {
        QRect rect;
        quint64 art = 0;
        bool shown = false;   // not before it shows something, nor while it is moved
        bool painted = false; // once: then from its picture
    };
    void paintTag(QPainter& painter, Tag& tag);
    void paintMarker(QPainter& painter, Marker& marker);
    // Tells a listening screen reader that tag p or marker m changed.
    void tellReaders(QAccessible::Event change, int person, int marker = 0);
    std::vector<Tag> m_tags;
    std::vector<Marker> m_markers;
    std::vector<QRect> m_frames;
    MarkerArt* m_art = nullptr;
    QFont m_tagFont;
    Spoken m_spoken;
    std::optional<ReaderFocus> m_readerFocus;
    MarkerView* m_carried;
    TrashCan* m_trash;
    QPushButton* m_green;
    QPushButton* m_yellow;
    QPushButton* m_erase;
    TwipScale m_scale;
    int m_fontSize = 0;
};

} // namespace zel
