#include "board/FolderNotice.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace zel {

FolderNotice::FolderNotice(QWidget* parent)
    : QWidget(parent), m_line(new QLabel(this)),
      m_button(new QPushButton(QStringLiteral("データのパス指定..."), this)) {
    setObjectName(QStringLiteral("FolderNotice"));
    m_line->setObjectName(QStringLiteral("FolderNoticeLine"));
    m_line->setTextFormat(Qt::PlainText);
    m_line->setWordWrap(false);
    QFont font = m_line->font();
    font.setBold(true);
    m_line->setFont(font);
    QPalette palette = m_line->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    m_line->setPalette(palette);
    m_button->setObjectName(QStringLiteral("FolderNoticeButton"));
    m_button->setAccessibleName(QStringLiteral("データのパス指定"));
    connect(m_button, &QPushButton::clicked, this, &FolderNotice::buttonPressed);

    auto* row = new QHBoxLayout;
    row->addWidget(m_button);
    row->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 12);
    column->addWidget(m_line);
    column->addLayout(row);
    column->addStretch();
    hide();
}

void FolderNotice::setLine(const QString& line) {
    m_line->setText(line);
    setAccessibleName(line);
    adjustSize();
}

QString FolderNotice::line() const {
    return m_line->text();
}

void FolderNotice::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), QColor(0, 0, 64)); // the board's own background
}

} // namespace zel
