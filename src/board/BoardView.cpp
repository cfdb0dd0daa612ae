#include "board/BoardView.h"

#include "board/Appearance.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace zel {

void NameTag::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

MarkerView::MarkerView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MarkerView::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void MarkerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), look::kWindowBackground);
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

    m_carried = new MarkerView(this);
    m_carried->setObjectName(QStringLiteral("Picture1"));
    m_carried->setAccessibleName(QStringLiteral("運んでいる当番マーク"));
    m_carried->hide();
}

MarkerView* BoardView::markerSlot(int index) {
    while (int(m_markers.size()) <= index) {
        auto* view = new MarkerView(this);
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
            tag->setAutoFillBackground(true);
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

    m_frames.clear();
    for (const TwipRect& frame : layout.frames)
        m_frames.push_back(scale.rect(frame));

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
    for (const QRect& frame : m_frames)
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit backgroundPressed(toBoardTwips(event->position()));
}

} // namespace zel
