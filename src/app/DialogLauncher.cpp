#include "app/DialogLauncher.h"

#include "editors/DutyEditor.h"
#include "editors/NameEditor.h"
#include "settings/DataFolderDialog.h"
#include "settings/OptionsDialog.h"

namespace zel {

QWidget* createDialog(DialogKind kind, const AppContext& context, BoardHost& host) {
    switch (kind) {
    case DialogKind::DataFolder:
        return new DataFolderDialog(context, host);
    case DialogKind::Names:
        return new NameEditor(context, host);
    case DialogKind::GreenDuties:
        return new DutyEditor(context, host, DutyEditorConfig::green());
    case DialogKind::YellowDuties:
        return new DutyEditor(context, host, DutyEditorConfig::yellow());
    case DialogKind::Options:
        return new OptionsDialog(context, host);
    }
    return nullptr;
}

} // namespace zel
