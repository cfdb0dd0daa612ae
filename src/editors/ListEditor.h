#pragma once

#include "editors/ListEditModel.h"
#include "ui/AppContext.h"
#include "units/TwipRect.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace zel {

class ConfirmLineEdit;

// Where the controls of a list editor stand, in twips inside the window, and the window's
// outer size on the desktop the numbers were made for.
struct ListEditorGeometry {
    double outerWidth = 0;
    double outerHeight = 0;
    TwipRect heading, list, box, write, change, add, remove, back;
};

// A dialog frame takes this much of the outer size: the sides, the caption with the top
// border, and the bottom border.
inline constexpr double kDialogFrameSide = 45;
inline constexpr double kDialogFrameTop = 390;
inline constexpr double kDialogFrameBottom = 45;

// Everything in which the list editors differ.
struct ListEditorSetup {
    QString heading;
    QColor headingText;
    QColor headingBack;
    ListEditorGeometry geometry;
    bool fixedFrame = true;
    QStringList tabOrder; // control names, first to last
    QString firstFocus;   // control name
    bool focusWriteAfterRemove = true;
    bool addBoxHidesOnEnter = false;
    QString boxNoun; // what the text boxes hold, for their accessible names
};

// The window shared by the name editor and the duty editors: a heading, the list, a change
// box and an add box on the same spot below it, and the buttons 書き込み, 変更, 追加, 削除
// and 戻る. The list's working copy and the editing rules live in a ListEditModel; the
// subclasses write the list and decide what closing the window means.
class ListEditor : public QWidget {
    Q_OBJECT
  public:
    ~ListEditor() override;

    const ListEditModel& model() const { return m_model; }

    QLabel* heading() const { return m_heading; }
    QListWidget* list() const { return m_list; }
    ConfirmLineEdit* changeBox() const { return m_changeBox; }
    ConfirmLineEdit* addBox() const { return m_addBox; }
    QPushButton* writeButton() const { return m_write; }
    QPushButton* changeButton() const { return m_change; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* backButton() const { return m_back; }

  protected:
    ListEditor(const AppContext& context, BoardHost& host, ListEditModel model,
               const ListEditorSetup& setup);

    // Writes the list; on failure tells the user why and returns false, keeping the editor.
    virtual bool writeList(const QStringList& entries) = 0;
    // The window's own close control was used.
    virtual void closedByWindow() = 0;

    void showError(const QString& text);
    void closeEvent(QCloseEvent* event) override;
    // Escape does what 戻る does.
    void keyPressEvent(QKeyEvent* event) override;

    AppContext m_context;
    BoardHost& m_host;

  private:
    void buildControls(const ListEditorSetup& setup);
    QWidget* control(const QString& name) const;
    void onChange();
    void onChangeConfirmed();
    void onAdd();
    void onAddConfirmed();
    void onRemove();
    void onWrite();
    void onBack();
    void readSelection();
    void showSelection();
    void updateAddButton();
    void showBox(ConfirmLineEdit* box);
    void leave();

    ListEditModel m_model;
    bool m_focusWriteAfterRemove;
    bool m_addBoxHidesOnEnter;
    bool m_mirroring = false; // the list widget is being brought in line with the model
    bool m_leaving = false;   // closed by 書き込み or 戻る

    QLabel* m_heading = nullptr;
    QListWidget* m_list = nullptr;
    ConfirmLineEdit* m_changeBox = nullptr;
    ConfirmLineEdit* m_addBox = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_back = nullptr;
};

} // namespace zel
