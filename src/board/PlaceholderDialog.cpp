#include "board/PlaceholderDialog.h"

#include "board/TwipScale.h"
#include "platform/Platform.h"
#include "roster/RosterState.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zel {

PlaceholderDialog::PlaceholderDialog(const QString& title, const AppContext& context,
                                     BoardHost& host)
    : QWidget(nullptr, Qt::Window), m_host(host) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("PlaceholderDialog"));
    setWindowTitle(QStringLiteral("ゼルトミル"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(title, this));
    auto* back = new QPushButton(QStringLiteral("戻る"), this);
    back->setObjectName(QStringLiteral("Command1"));
    back->setAutoDefault(false);
    layout->addWidget(back);
    connect(back, &QPushButton::clicked, this, [this] {
        m_returning = true;
        close();
        m_host.showBoard();
    });
    const TwipScale scale{context.platform.twipsPerPixelX(), context.platform.twipsPerPixelY()};
    move(scale.x(context.state.savedLeft), scale.y(context.state.savedTop));
}

void PlaceholderDialog::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!m_returning)
        m_host.showBoard();
}

} // namespace zel
