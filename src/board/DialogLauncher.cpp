#include "board/DialogLauncher.h"

#include "board/PlaceholderDialog.h"

namespace zel {

QWidget* createDialog(DialogKind kind, const AppContext& context, BoardHost& host) {
    switch (kind) {
    case DialogKind::DataFolder:
        return new PlaceholderDialog(QStringLiteral("データのパス指定"), context, host);
    case DialogKind::Names:
        return new PlaceholderDialog(QStringLiteral("名前編集"), context, host);
    case DialogKind::GreenDuties:
        return new PlaceholderDialog(QStringLiteral("緑色当番編集"), context, host);
    case DialogKind::YellowDuties:
        return new PlaceholderDialog(QStringLiteral("黄色当番編集"), context, host);
    case DialogKind::Options:
        return new PlaceholderDialog(QStringLiteral("オプション"), context, host);
    }
    return nullptr;
}

} // namespace zel
