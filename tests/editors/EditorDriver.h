#pragma once

#include "editors/ConfirmLineEdit.h"
#include "editors/ListEditor.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace zel::test {

// Drives a list editor the way a user does: mouse clicks and keys on the real widgets.
struct EditorDriver {
    ListEditor& editor;

    bool open() {
        editor.show();
        editor.activateWindow();
        return QTest::qWaitForWindowActive(&editor);
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void selectRow(int row) {
        QListWidget* list = editor.list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    // Replaces the box's text as typing does: plain keys for ASCII, an input method's
    // committed text for Japanese.
    void type(ConfirmLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 0x80 && c.isPrint();
        if (ascii) {
            QTest::keyClicks(box, text);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(box, &commit);
        }
    }
    void enter(ConfirmLineEdit* box) { QTest::keyClick(box, Qt::Key_Return); }
    void change(int row, const QString& text) {
        selectRow(row);
        click(editor.changeButton());
        type(editor.changeBox(), text);
        enter(editor.changeBox());
    }
    void add(const QString& text) {
        click(editor.addButton());
        type(editor.addBox(), text);
        enter(editor.addBox());
    }
    QStringList shown() const {
        QStringList out;
        for (int i = 0; i < editor.list()->count(); ++i)
            out << editor.list()->item(i)->text();
        return out;
    }
    bool nothingSelected() const {
        return editor.list()->selectionModel()->selectedIndexes().isEmpty() &&
               !editor.model().selected();
    }
    QWidget* focus() const { return QApplication::focusWidget(); }
    // Control names in the order Tab visits them, one round starting at `first`.
    QStringList tabRing(const QString& first) const {
        QWidget* start = editor.findChild<QWidget*>(first);
        QStringList names{first};
        for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == &editor)
                names << w->objectName();
        }
        return names;
    }
};

} // namespace zel::test
