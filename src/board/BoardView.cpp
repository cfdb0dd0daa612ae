#include "board/BoardView.h"

#include "ui/Appearance.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <cmath>

namespace zel {

void NameTag::paintEvent(QPaintEvent* event) {
    if (m_background.isValid())
        QPainter(this).fillRect(rect(), m_background);
    QLabel::paintEvent(event);
}

void NameTag::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

MarkerView::MarkerView(QWidget* parent, bool opaque) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
}

void MarkerView::setPicture(const QPixmap& picture) {
    // A reload hands most markers the very picture they show already.
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    update();
}

void MarkerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The picture is opaque: only what it leaves free needs the background.
    const QSizeF size = m_picture.deviceIndependentSize();
    const QRect covered(0, 0, int(std::floor(size.width())), int(std::floor(size.height())));
    if (!covered.contains(rect())) {
        for (const QRect& free : QRegion(rect()).subtracted(covered))
            painter.fillRect(free, look::kWindowBackground);
    }
    if (!m_picture.isNull())
        painter.drawPixmap(0, 0, m_picture);
}

void MarkerView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    const auto* board = qobject_cast<BoardView*>(parentWidget());
    const QPointF inParent = mapToParent(event->position());
    emit pressed(markerNumber, board ? board->toBoardTwips(inParent) : inParent);
}

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
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

    m_trash = new NameTag(this);
    m_trash->setObjectName(QStringLiteral("Image1"));
    m_trash->setAccessibleName(QStringLiteral("ごみ箱"));
    m_trash->setPixmap(look::trashCanPixmap(32, devicePixelRatioF()));
    m_trash->hide();

    m_carried = new MarkerView(this, true);
    m_carried->setObjectName(QStringLiteral("Picture1"));
    m_carried->setAccessibleName(QStringLiteral("運んでいる当番マーク"));
    m_carried->hide();
}

MarkerView* BoardView::markerSlot(int index) {
    while (int(m_markers.size()) <= index) {
        auto* view = new MarkerView(this, false);
        view->markerNumber = int(m_markers.size()) + 1;
        view->setObjectName(QStringLiteral("Picture2_%1").arg(view->markerNumber));
        view->hide();
        m_markers.push_back(view);
    }
    return m_markers[index];
}

void BoardView::applyLayout(const BoardLayout& layout, const TwipScale& scale,
                            const std::vector<QString>& names, int fontSize) {
    m_scale = scale;
    setFixedSize(scale.width(layout.boardWidth()), scale.height(layout.boardHeight()));

    const QFont tagFont = look::gothicFont(fontSize, true);
    const bool fontChanged = fontSize != m_fontSize;
    m_fontSize = fontSize;
    const int persons = int(layout.tags.size());
    for (int i = 0; i < persons; ++i) {
        if (int(m_tags.size()) <= i) {
            auto* tag = new NameTag(this);
            tag->setObjectName(QStringLiteral("Label1_%1").arg(i));
            tag->setBackground(look::kTagBackground);
            QPalette pal = tag->palette();
            pal.setColor(QPalette::Window, look::kTagBackground);
            pal.setColor(QPalette::WindowText, Qt::black);
            tag->setPalette(pal);
            tag->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            tag->setTextFormat(Qt::PlainText);
            tag->setFont(tagFont);
            m_tags.push_back(tag);
        }
        NameTag* tag = m_tags[i];
        if (fontChanged)
            tag->setFont(tagFont);
        tag->setText(names[i]);
        tag->setAccessibleName(names[i]);
        tag->setGeometry(scale.rect(layout.tags[i]));
        tag->show();
    }
    for (int i = persons; i < m_shownTags; ++i)
        m_tags[i]->hide();
    m_shownTags = persons;

    std::vector<QRect> frames;
    frames.reserve(layout.frames.size());
    for (const TwipRect& frame : layout.frames)
        frames.push_back(scale.rect(frame));
    // Tags, markers and buttons repaint themselves when they change; the board's own drawing
    // is its frames. Repainting it would repaint every tag and marker standing on it, which is
    // most of a reload that only moved a marker.
    const bool framesChanged = frames != m_frames;
    m_frames = std::move(frames);

    m_yellow->setGeometry(scale.rect(layout.yellowButton));
    m_green->setGeometry(scale.rect(layout.greenButton));
    m_erase->setGeometry(scale.rect(layout.eraseButton));
    m_yellow->show();
    m_green->show();
    m_erase->show();

    const int markers = int(layout.markers.size());
    for (int m = 0; m < markers; ++m)
        markerSlot(m)->setGeometry(scale.rect(layout.markers[m]));
    for (int m = markers; m < m_shownMarkers; ++m)
        m_markers[m]->hide();
    m_shownMarkers = markers;
    m_carried->hide();
    m_trash->hide();
    if (framesChanged)
        update();
}

QPointF BoardView::toBoardTwips(QPointF widgetPixels) const {
    return {m_scale.twipsX(widgetPixels.x()), m_scale.twipsY(widgetPixels.y())};
}

void BoardView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(look::kRowFrame);
    painter.setBrush(Qt::NoBrush);
    const QRect area = event->rect();
    // One device pixel a logical one: each outline can be drawn as four one-pixel bands, the
    // pixels of the outlined rectangle but far cheaper to clip around the tags and markers.
    const bool bands = devicePixelRatio() == 1;
    for (const QRect& frame : m_frames) {
        const bool ordinary =
            frame.width() >= 2 && frame.height() >= 2 && frame.left() >= 0 && frame.top() >= 0;
        if (ordinary && !frame.intersects(area))
            continue; // its outline lies inside it
        if (!ordinary || !bands) {
            painter.drawRect(frame.adjusted(0, 0, -1, -1));
            continue;
        }
        painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1), look::kRowFrame);
        painter.fillRect(QRect(frame.left(), frame.bottom(), frame.width(), 1), look::kRowFrame);
        painter.fillRect(QRect(frame.left(), frame.top(), 1, frame.height()), look::kRowFrame);
        painter.fillRect(QRect(frame.right(), frame.top(), 1, frame.height()), look::kRowFrame);
    }
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit backgroundPressed(toBoardTwips(event->position()));
}

} // namespace zel
