#pragma once

#include "board/MainWindow.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <memory>

namespace zel::test {

// A main window over a data folder of its own, on the scripted desktop (15 twips a pixel): the
// test writes the files, then opens the window on them.
struct BoardWindow {
    FakePlatform platform;
    DataFolder folder;
    RosterState state;
    RosterFiles files{platform.store, folder.path()};
    std::unique_ptr<MainWindow> window;

    void open() {
        window = std::make_unique<MainWindow>(AppContext{state, files, platform});
        window->load();
    }
    QByteArray job() const { return folder.read(kJobFile); }

    // 25 persons P00.., 10 a column, tags 1000 x 300, green duties 緑当番0.. and 8 yellow ones
    // 黄当番0.. (4 characters), 5 a column; then the window opens.
    void openTwentyFive(const QByteArray& job, int greenDuties = 7) {
        folder.write(kParameterFile, " 10\r\n 5\r\n 1000\r\n 300\r\n 9\r\n");
        writePersons(25);
        folder.writeLines(kGreenListFile, numbered(u"緑当番"_qs, greenDuties));
        folder.writeLines(kYellowListFile, numbered(u"黄当番"_qs, 8));
        folder.write(kJobFile, job);
        open();
    }
    void writePersons(int count) const {
        folder.writeLines(kPersonFile, numbered("P", count, 2, 10));
    }
    // A count line, then prefix + i for each i, i written in `base` with `digits` digits.
    static QStringList numbered(const QString& prefix, int count, int digits = 1, int base = 36) {
        QStringList lines{QString::number(count)};
        for (int i = 0; i < count; ++i)
            lines << prefix + QString::number(i, base).toUpper().rightJustified(digits, u'0');
        return lines;
    }
};

} // namespace zel::test
