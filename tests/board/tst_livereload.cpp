// The board follows changes other programs make to the files while it is idle, waits while
// something is carried, does nothing for a folder that did not change, and says on the board
// when the data folder cannot be found, coming back by itself when it appears.
#include "board/BoardRules.h"
#include "board/BoardView.h"
#include "board/FolderNotice.h"
#include "board/MainWindow.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace zel;
using namespace zel::test;

namespace {
const QByteArray kJob = " 2\r\n 100  0  0\r\n 1  2  0\r\n";
const QByteArray kJobMore = " 3\r\n 100  0  0\r\n 1  2  0\r\n 101  3  0\r\n";
constexpr int kWithin = FolderWatch::kIntervalMs + 700;

struct CountingStore : FileStore {
    mutable int reads = 0;
    std::optional<QByteArray> read(const QString& path) const override {
        ++reads;
        return FileStore::read(path);
    }
};

struct Board {
    FakePlatform platform;
    DataFolder start;
    CountingStore store;
    RosterState state;
    RosterFiles files{store, start.path()};
    QList<DialogKind> opened;
    std::unique_ptr<MainWindow> window;
    QString roster; // the data folder, relative to the start folder

    explicit Board(const QString& folder = QString(), bool writeRoster = true) : roster(folder) {
        start.write(kFolderFile,
                    (folder.isEmpty() ? QByteArray("\"\"") : folder.toUtf8()) + "\r\n");
        if (writeRoster)
            writeFiles();
        window = std::make_unique<MainWindow>(
            AppContext{state, files, platform},
            [this](DialogKind kind, const AppContext&, BoardHost&) -> QWidget* {
                opened << kind;
                return nullptr;
            });
        window->load();
    }
    void writeFiles() const {
        QDir(start.path()).mkpath(roster.isEmpty() ? "." : roster);
        start.writeLines(roster + kPersonFile, {"4", "佐藤", "鈴木", "高橋", "田中"});
        start.writeLines(roster + kGreenListFile, {"2", "掃除", "日直"});
        start.writeLines(roster + kYellowListFile, {"2", "司会", "書記"});
        start.write(roster + kJobFile, kJob);
    }
    int markers() const { return window->board()->shownMarkers(); }
};
} // namespace

class TestLiveReload : public QObject {
    Q_OBJECT
  private slots:
    void anotherProgramSaves() {
        Board b;
        QCOMPARE(b.markers(), 2);
        b.start.write(kJobFile, kJobMore);
        QTRY_COMPARE_WITH_TIMEOUT(b.markers(), 3, kWithin);
        b.start.writeLines(kPersonFile, {"5", "佐藤", "鈴木", "高橋", "田中", "伊藤"});
        QTRY_COMPARE_WITH_TIMEOUT(b.window->board()->shownTags(), 5, kWithin);
    }

    // No change: nothing is read at all; the same bytes written again: read once to compare,
    // and no reload (which would read every file again).
    void unchangedFolderCostsNothing() {
        Board b;
        b.store.reads = 0;
        QTest::qWait(kWithin);
        QCOMPARE(b.store.reads, 0);
        b.start.write(kJobFile, kJob);
        QTRY_VERIFY_WITH_TIMEOUT(b.store.reads > 0, kWithin);
        QTest::qWait(kWithin);
        QCOMPARE(b.store.reads, 6); // the six files compared, none loaded again
        QVERIFY(b.window->folderWatch().isActive());
        QVERIFY(b.window->folderWatch().timer().interval() <= 2000);
    }

    // While a duty is carried the board stays as it is; once the carry ends it catches up.
    void waitsWhileCarrying() {
        Board b;
        b.window->pickDuty(PickerConfig::of(DutyColour::Green), 1);
        QVERIFY(!b.window->isIdle());
        b.start.write(kJobFile, kJobMore);
        QTest::qWait(kWithin);
        QCOMPARE(b.markers(), 2);
        QVERIFY(!b.window->carry().isIdle());
        // Cancelled in the trash zone: nothing written, and the change shows.
        b.window->dropCarried(QPointF(500, trashZoneStart(b.window->layout()) + 30));
        QVERIFY(b.window->carry().isIdle());
        QTRY_COMPARE_WITH_TIMEOUT(b.markers(), 3, kWithin);
        QCOMPARE(b.start.read(kJobFile), kJobMore);
    }

    void missingFolderComesBack() {
        Board b("share/roster/", false);
        FolderNotice* notice = b.window->folderNotice();
        QVERIFY(notice->isVisible());
        const QString folder = QDir::cleanPath(b.start.file("share/roster"));
        QCOMPARE(notice->line(),
                 QStringLiteral("データフォルダ「%1」が見つかりません。").arg(folder));
        QCOMPARE(b.window->board()->shownTags(), 0);
        // The whole line fits and covers the board.
        QVERIFY(notice->width() >= notice->sizeHint().width());
        QCOMPARE(notice->geometry(), b.window->board()->rect());
        if (!qEnvironmentVariableIsEmpty("ZEL_NOTICE_SHOT"))
            b.window->grab().save(qEnvironmentVariable("ZEL_NOTICE_SHOT"));

        QTest::mouseClick(notice->button(), Qt::LeftButton);
        QCOMPARE(b.opened, QList<DialogKind>{DialogKind::DataFolder});
        QTRY_VERIFY(b.window->isLoaded()); // no dialog made: the board came back

        b.writeFiles(); // the share is mounted
        QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), kWithin);
        QCOMPARE(b.window->board()->shownTags(), 4);
        QCOMPARE(b.markers(), 2);

        // Unmounted again: the files go, the notice is back instead of the old names.
        QDir(b.start.file("share")).removeRecursively();
        QTRY_VERIFY_WITH_TIMEOUT(notice->isVisible(), kWithin);
        QCOMPARE(b.window->board()->shownTags(), 0);
    }
};

QTEST_MAIN(TestLiveReload)
#include "tst_livereload.moc"
