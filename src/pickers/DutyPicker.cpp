#include "pickers/DutyPicker.h"

#include "pickers/PickerAccessible.h"
#include "ui/Appearance.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

namespace zel {

std::unique_ptr<PickerPainter> makePickerPainter(const PickerConfig& config,
                                                 const RosterState& state, const TwipScale& scale) {
    const PickerGeometry geometry = computePickerGeometry(state, config.colour);
    QStringList names;
    const auto& list = state.dutyNames(config.colour);
    for (int k = 0; k < geometry.count; ++k)
        names << list[k];
    return std::make_unique<PickerPainter>(config, geometry, names, state.fontSize, scale);
}

DutyPicker::DutyPicker(const PickerConfig& config, QWidget* parent)
    // The accessible list must be known before the widget exists: setting its name already
    // makes Qt build (and keep) an accessible object for it when a screen reader listens.
    : QWidget((PickerAccessible::install(), parent),
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_config(config) {
    setObjectName(QString::fromLatin1(config.objectName));
    setAccessibleName(QString::fromUtf8(config.accessibleName));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void DutyPicker::open(const RosterState& state, const TwipScale& scale, QPoint topLeft) {
    open(state, scale, [topLeft](QSize) { return topLeft; });
}

void DutyPicker::open(const RosterState& state, const TwipScale& scale,
                      const std::function<QPoint(QSize)>& place) {
    m_scale = scale;
    m_geometry = computePickerGeometry(state, m_config.colour);
    m_painter = makePickerPainter(m_config, state, scale);
    m_names.clear();
    const auto& list = state.dutyNames(m_config.colour);
    for (int k = 0; k < m_geometry.count; ++k)
        m_names << list[k];
    m_focused.reset();
    setFixedSize(m_painter->windowPixels());
    move(place(size()));
    show();
    update();
}

int DutyPicker::entryCount() const {
    return std::min(int(m_names.size()), m_config.pickableEntries);
}

QRect DutyPicker::entryRect(int k) const {
    return m_scale.rect(m_geometry.frame(k));
}

void DutyPicker::setFocusedEntry(std::optional<int> k) {
    if (k == m_focused)
        return;
    m_focused = k;
    update();
    if (k && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(*k);
        QAccessible::updateAccessibility(&event);
    }
}

void DutyPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_painter)
        m_painter->paint(painter, rect());
    if (m_focused) {
        // Around the entry's frame, in the board's focus colour, two pixels wide.
        painter.setPen(QPen(look::kFocusFrame, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(entryRect(*m_focused).adjusted(-1, -1, 0, 0));
    }
}

void DutyPicker::mousePressEvent(QMouseEvent* event) {
    event->accept();
    const QPointF p = event->position();
    if (const auto k = m_geometry.entryAt(m_scale.twipsX(p.x()), m_scale.twipsY(p.y()),
                                          m_config.pickableEntries))
        emit entryPressed(*k);
}

} // namespace zel
