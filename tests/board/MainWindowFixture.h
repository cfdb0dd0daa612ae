#pragma once

#include "board/BoardRules.h"
#include "board/BoardView.h"
#include "board/MainWindow.h"
#include "pickers/DutyPicker.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <QTest>
#include <memory>

namespace zel::test {

// A main window over a data folder of its own, on the scripted desktop (15 twips a pixel).
// The default board: 25 persons "P00".."P24", 10 a column, tags 1000 x 300, five duties a
// column, seven green duties and eight yellow ones of four characters each.
struct BoardFixture {
    FakePlatform platform;
    DataFolder folder;
    RosterState state;
    RosterFiles files{platform.store, folder.path()};
    std::unique_ptr<MainWindow> window;

    explicit BoardFixture(const QByteArray& job = " 0\r\n", int persons = 25, int tagHeight = 300,
                          int greenDuties = 7) {
        folder.write(kParameterFile, QByteArray(" 10\r\n 5\r\n 1000\r\n ") +
                                         QByteArray::number(tagHeight) + "\r\n 9\r\n");
        writePersons(persons);
        writeDuties(DutyColour::Green, greenDuties, 4);
        writeDuties(DutyColour::Yellow, 8, 4);
        folder.write(kJobFile, job);
    }

    // Numbered names; duties count in base 36 so that every name has the same length.
    static QStringList names(const QString& pattern, int count, int digits, int base = 36) {
        QStringList out;
        for (int i = 0; i < count; ++i)
            out << pattern.arg(i, digits, base, QChar(u'0')).toUpper();
        return out;
    }
    // A duty list of names `length` characters long.
    void writeDuties(DutyColour colour, int count, int length) const {
        const QString pattern =
            colour == DutyColour::Green ? QStringLiteral("緑当番%1") : QStringLiteral("黄当番%1");
        folder.writeLines(listFileOf(colour),
                          QStringList{QString::number(count)} + names(pattern, count, length - 3));
    }
    void writePersons(int persons) const {
        folder.writeLines(kPersonFile, QStringList{QString::number(persons)} +
                                           names(QStringLiteral("P%1"), persons, 2, 10));
    }

    MainWindow& open() {
        window = std::make_unique<MainWindow>(AppContext{state, files, platform});
        window->load();
        return *window;
    }

    BoardView* board() const { return window->board(); }
    MarkerView* carried() const { return board()->carriedMarker(); }
    QByteArray job() const { return folder.read(kJobFile); }

    // Board twips to the board widget's pixels, and the centre of a board rectangle.
    static QPoint pixels(QPointF twips) {
        return {int(std::nearbyint(twips.x() / 15)), int(std::nearbyint(twips.y() / 15))};
    }
    static QPointF centre(const TwipRect& r) {
        return {r.left + r.width / 2, r.top + r.height / 2};
    }
    QPointF tagCentre(int person) const { return centre(window->layout().tags.at(person)); }
    // A point in the trash zone, in the middle of the board.
    QPointF trashPoint() const {
        return {window->layout().boardWidth() / 2, trashZoneStart(window->layout()) + 50};
    }

    // Presses entry k of a colour's picker, opening the picker first.
    void pick(DutyColour colour, int k, Qt::MouseButton button = Qt::LeftButton) {
        if (!window->isPickerShown(colour))
            colour == DutyColour::Green ? window->toggleGreenPicker()
                                        : window->toggleYellowPicker();
        DutyPicker* picker = window->picker(colour);
        QVERIFY(picker && picker->isVisible());
        QTest::mousePress(picker, button, {}, pixels(centre(picker->geometry().frame(k))));
    }
    // Presses board marker m where it stands.
    void pickUp(int m, Qt::MouseButton button = Qt::LeftButton) {
        MarkerView* view = board()->marker(m);
        QTest::mousePress(view, button, {}, view->rect().center());
    }
    // Moves the carried marker so that its centre lies on a board point and presses there.
    void dropAt(QPointF boardTwips, Qt::MouseButton button = Qt::LeftButton) {
        MarkerView* c = carried();
        const QPoint at = pixels(boardTwips);
        c->move(at - QPoint(c->width() / 2, c->height() / 2));
        QTest::mousePress(c, button, {}, at - c->pos());
    }
};

} // namespace zel::test
