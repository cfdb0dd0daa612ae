#include "board/BoardView.h"

#include "board/BoardAccessible.h"
#include "board/BoardPieces.h"
#include "ui/Appearance.h"
#include "ui/FramePainter.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <cmath>

namespace zel {

void TrashCan::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

MarkerView::MarkerView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MarkerView::setPicture(const QPixmap& picture) {
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    update();
}

void MarkerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPicture(painter, rect(), m_picture);
}

void MarkerView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    const auto* board = qobject_cast<BoardView*>(parentWidget());
    const QPointF inParent = mapToParent(event->position());
    emit pressed(board ? board->toBoardTwips(inParent) : inParent);
}

BoardView::BoardView(QWidget* parent) : QWidget((BoardAccessible::install(), parent)) {
    setObjectName(QStringLiteral("board"));
    setAccessibleName(QStringLiteral("当番表"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, look::kWindowBackground);
    setPalette(pal);

    auto makeButton = [this](const QString& name, const QString& accessible, const QIcon& icon) {
        auto* button = new QPushButton(this);
        button->setObjectName(name);
        button->setAccessibleName(accessible);
        button->setToolTip(accessible);
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
        button->setAutoDefault(false);
        button->hide();
        return button;
    };
    m_yellow =
        makeButton(QStringLiteral("Command2"), QStringLiteral("黄色当番"), look::yellowDutyIcon());
    m_green =
        makeButton(QStringLiteral("Command1"), QStringLiteral("緑色当番"), look::greenDutyIcon());
    m_erase = makeButton(QStringLiteral("Command3"), QStringLiteral("すべてのマークを消す"),
                         look::eraserIcon());

    m_trash = new TrashCan(this);
    m_trash->setObjectName(QStringLiteral("Image1"));
    m_trash->setAccessibleName(QStringLiteral("ごみ箱"));
    m_trash->setPixmap(look::trashCanPixmap(32, devicePixelRatioF()));
    m_trash->hide();

    m_carried = new MarkerView(this);
    m_carried->setObjectName(QStringLiteral("Picture1"));
    m_carried->setAccessibleName(QStringLiteral("運んでいる当番マーク"));
    m_carried->hide();
}

BoardView::~BoardView() {
    // The controls go first, while what a screen reader may still ask about them is here.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void BoardView::tellReaders(QAccessible::Event change, int person, int marker) {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(this, change);
    event.setChild(BoardAccessible::childIndex(*this, {.person = person, .marker = marker}));
    QAccessible::updateAccessibility(&event);
}

void BoardView::applyLayout(const BoardLayout& layout, const TwipScale& scale,
                            const std::vector<QString>& names, int fontSize) {
    m_scale = scale;
    setFixedSize(scale.width(layout.boardWidth()), scale.height(layout.boardHeight()));
    const bool fontChanged = fontSize != m_fontSize || m_tags.empty();
    if (fontChanged)
        m_tagFont = look::gothicFont(fontSize, true);
    m_fontSize = fontSize;

    // Only what changed is repainted: a reload after a marker moved repaints two markers.
    QRegion dirty;
    const bool countsChanged =
        layout.tags.size() != m_tags.size() || layout.markers.size() != m_markers.size();
    std::vector<int> renamed;
    std::vector<Tag> tags(layout.tags.size());
    for (size_t i = 0; i < tags.size(); ++i) {
        tags[i].rect = scale.rect(layout.tags[i]);
        tags[i].name = names[i];
        if (i >= m_tags.size())
            dirty += tags[i].rect;
        else if (fontChanged || tags[i].rect != m_tags[i].rect || tags[i].name != m_tags[i].name)
            dirty += QRegion(tags[i].rect) + m_tags[i].rect;
        else
            tags[i] = m_tags[i]; // as it was, picture and all
        if (i < m_tags.size() && tags[i].name != m_tags[i].name)
            renamed.push_back(int(i));
    }
    for (size_t i = tags.size(); i < m_tags.size(); ++i)
        dirty += m_tags[i].rect;
    m_tags = std::move(tags);

    // A marker keeps what it shows until it is told what it shows now.
    std::vector<Marker> markers(layout.markers.size());
    for (size_t i = 0; i < markers.size(); ++i) {
        markers[i].rect = scale.rect(layout.markers[i]);
        if (i < m_markers.size() && m_markers[i].rect == markers[i].rect) {
            markers[i] = m_markers[i];
            continue;
        }
        if (i < m_markers.size() && m_markers[i].shown)
            dirty += m_markers[i].rect;
    }
    for (size_t i = markers.size(); i < m_markers.size(); ++i)
        if (m_markers[i].shown)
            dirty += m_markers[i].rect;
    m_markers = std::move(markers);

    std::vector<QRect> frames;
    frames.reserve(layout.frames.size());
    for (const TwipRect& frame : layout.frames)
        frames.push_back(scale.rect(frame));
    const bool framesChanged = frames != m_frames;
    m_frames = std::move(frames);

    m_yellow->setGeometry(scale.rect(layout.yellowButton));
    m_green->setGeometry(scale.rect(layout.greenButton));
    m_erase->setGeometry(scale.rect(layout.eraseButton));
    m_yellow->show();
    m_green->show();
    m_erase->show();
    m_carried->hide();
    m_trash->hide();
    m_readerFocus.reset();
    if (framesChanged)
        update();
    else if (!dirty.isEmpty())
        update(dirty);
    // Widgets tell readers of their changes themselves; drawn pieces are told of here. Who has
    // which duty may have changed with any load: every tag's description and marker's name.
    if (!QAccessible::isActive())
        return;
    if (countsChanged) {
        QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
    }
    for (int p : renamed)
        tellReaders(QAccessible::NameChanged, p);
    for (int p = 0; p < shownTags(); ++p)
        tellReaders(QAccessible::DescriptionChanged, p);
    for (int m = 1; m <= shownMarkers(); ++m)
        tellReaders(QAccessible::NameChanged, -1, m);
}

void BoardView::setMarkerShows(int m, quint64 art) {
    Marker& marker = m_markers.at(m - 1);
    // A reload shows most markers as they were.
    if (art == marker.art)
        return;
    marker.art = art;
    marker.painted = false;
    if (marker.shown)
        update(marker.rect);
}

QPixmap BoardView::markerPicture(int m) const {
    const Marker& marker = m_markers.at(m - 1);
    return m_art && marker.art ? m_art->picture(marker.art) : QPixmap();
}

void BoardView::paintTag(QPainter& painter, Tag& tag) {
    if (!tag.painted) {
        paintNameTag(painter, tag.rect, tag.name, m_tagFont);
        tag.painted = true;
        return;
    }
    const double ratio = devicePixelRatioF();
    if (tag.picture.isNull() || tag.picture.devicePixelRatio() != ratio) {
        // The same drawing on an image of the tag's size, with this screen's dots per inch.
        QImage image(tag.rect.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
        image.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
        image.fill(look::kTagBackground);
        {
            QPainter onImage(&image);
            paintNameTag(onImage, QRect(QPoint(0, 0), tag.rect.size()), tag.name, m_tagFont);
        }
        tag.picture = QPixmap::fromImage(std::move(image));
    }
    paintPicture(painter, tag.rect, tag.picture);
}

void BoardView::paintMarker(QPainter& painter, Marker& marker) {
    if (!m_art || !marker.art) {
        paintPicture(painter, marker.rect, QPixmap());
        return;
    }
    if (marker.painted || m_art->hasPicture(marker.art)) {
        paintPicture(painter, marker.rect, m_art->picture(marker.art));
        return;
    }
    m_art->paint(painter, marker.art, marker.rect);
    marker.painted = true;
}

void BoardView::setMarkerShown(int m, bool shown) {
    Marker& marker = m_markers.at(m - 1);
    if (marker.shown == shown)
        return;
    marker.shown = shown;
    update(marker.rect);
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.invisible = true;
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(BoardAccessible::childIndex(*this, {.marker = m}));
        QAccessible::updateAccessibility(&event);
    }
}

void BoardView::repaintMarkersIn(const QRegion& region) {
    const QRect bounds = region.boundingRect();
    for (const Marker& marker : m_markers)
        if (marker.shown && marker.rect.intersects(bounds))
            update(region & marker.rect);
}

int BoardView::markerAt(QPoint widgetPixels) const {
    // The later marker lies on top.
    for (int m = shownMarkers(); m >= 1; --m)
        if (m_markers[m - 1].shown && m_markers[m - 1].rect.contains(widgetPixels))
            return m;
    return 0;
}

int BoardView::tagAt(QPoint widgetPixels) const {
    for (int p = shownTags() - 1; p >= 0; --p)
        if (m_tags[p].rect.contains(widgetPixels))
            return p;
    return -1;
}

QString BoardView::tagDescription(int person) const {
    return m_spoken.tagDescription && person >= 0 && person < shownTags()
               ? m_spoken.tagDescription(person)
               : QString();
}

QString BoardView::markerName(int m) const {
    return m_spoken.markerName && m >= 1 && m <= shownMarkers() ? m_spoken.markerName(m)
                                                                : QString();
}

void BoardView::setReaderFocus(std::optional<ReaderFocus> focus) {
    m_readerFocus = focus;
    if (!focus || !QAccessible::isActive() || !hasFocus())
        return;
    if (focus->carried) {
        QAccessibleEvent event(m_carried, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
        return;
    }
    tellReaders(QAccessible::Focus, focus->person, focus->marker);
}

QPointF BoardView::toBoardTwips(QPointF widgetPixels) const {
    return {m_scale.twipsX(widgetPixels.x()), m_scale.twipsY(widgetPixels.y())};
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setPen(look::kRowFrame);
    painter.setBrush(Qt::NoBrush);
    const QRect area = event->rect();
    FramePainter frames(painter);
    for (const QRect& frame : m_frames) {
        const bool ordinary =
            frame.width() >= 2 && frame.height() >= 2 && frame.left() >= 0 && frame.top() >= 0;
        if (!ordinary)
            painter.drawRect(frame.adjusted(0, 0, -1, -1));
        else if (frame.intersects(area)) // else its outline lies inside it
            frames.draw(frame, look::kRowFrame);
    }
    for (Tag& tag : m_tags)
        if (tag.rect.intersects(area))
            paintTag(painter, tag);
    for (Marker& marker : m_markers)
        if (marker.shown && marker.rect.intersects(area))
            paintMarker(painter, marker);
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    const QPoint at = event->position().toPoint();
    if (const int m = markerAt(at)) {
        emit markerPressed(m, toBoardTwips(event->position()));
        return;
    }
    if (tagAt(at) >= 0)
        return; // a name tag takes the press and does nothing with it
    emit backgroundPressed(toBoardTwips(event->position()));
}

} // namespace zel
