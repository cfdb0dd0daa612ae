#include "pickers/DutyPicker.h"

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
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_config(config) {
    setObjectName(QString::fromLatin1(config.objectName));
    setAccessibleName(QString::fromUtf8(config.accessibleName));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void DutyPicker::open(const RosterState& state, const TwipScale& scale, QPoint topLeft) {
    m_scale = scale;
    m_geometry = computePickerGeometry(state, m_config.colour);
    m_painter = makePickerPainter(m_config, state, scale);
    setFixedSize(m_painter->windowPixels());
    move(topLeft);
    show();
    update();
}

void DutyPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_painter)
        m_painter->paint(painter, rect());
}

void DutyPicker::mousePressEvent(QMouseEvent* event) {
    event->accept();
    const QPointF p = event->position();
    if (const auto k = m_geometry.entryAt(m_scale.twipsX(p.x()), m_scale.twipsY(p.y()),
                                          m_config.pickableEntries))
        emit entryPressed(*k);
}

} // namespace zel
