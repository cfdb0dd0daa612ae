// Work put off until a widget's first paint: it runs once, after that paint has finished,
// or at the deadline (counted from the showing) when the widget never paints, and never for a
// widget already gone.
#include "platform/AfterFirstPaint.h"

#include <QPointer>
#include <QTest>
#include <QWidget>

using namespace zel;

namespace {
// Writes what happens into a shared log: where each paint begins and ends.
class LoggingWidget : public QWidget {
  public:
    explicit LoggingWidget(QStringList& log) : m_log(log) { resize(80, 40); }

  protected:
    void paintEvent(QPaintEvent*) override {
        m_log << QStringLiteral("paint begins");
        m_log << QStringLiteral("paint ends");
    }

  private:
    QStringList& m_log;
};
} // namespace

class AfterFirstPaintTest : public QObject {
    Q_OBJECT

  private slots:
    void runsOnceAfterTheFirstPaint() {
        QStringList log;
        LoggingWidget widget(log);
        new AfterFirstPaint(
            &widget, [&log] { log << QStringLiteral("work"); }, 60000);
        QCoreApplication::processEvents();
        QVERIFY(log.isEmpty()); // nothing painted yet, and the deadline is far off

        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTRY_VERIFY(log.contains(QStringLiteral("work")));
        // Not before the paint nor inside it: the whole first paint came first.
        QVERIFY(log.indexOf(QStringLiteral("paint ends")) >= 0);
        QVERIFY(log.indexOf(QStringLiteral("work")) > log.indexOf(QStringLiteral("paint ends")));

        widget.repaint();
        widget.hide();
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::qWait(50);
        QCOMPARE(log.count(QStringLiteral("work")), 1);
    }

    void runsAtTheDeadlineWithoutAPaint() {
        QStringList log;
        LoggingWidget widget(log); // never shown
        QPointer<AfterFirstPaint> waiting = new AfterFirstPaint(
            &widget, [&log] { log << QStringLiteral("work"); }, 30);
        QTRY_COMPARE(log, QStringList{QStringLiteral("work")});
        QTRY_VERIFY(waiting.isNull()); // done with, before its widget is

        widget.show(); // a paint after the deadline runs nothing more
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::qWait(50);
        QCOMPARE(log.count(QStringLiteral("work")), 1);
    }

    void nothingRunsForAWidgetAlreadyGone() {
        int runs = 0;
        {
            QStringList log;
            LoggingWidget widget(log);
            widget.show();
            QVERIFY(QTest::qWaitForWindowExposed(&widget));
            new AfterFirstPaint(
                &widget, [&runs] { ++runs; }, 30);
            widget.repaint(); // painted now: the work is queued behind this block
            QVERIFY(log.contains(QStringLiteral("paint ends")));
        } // the widget, and with it the queued work, is gone before the queue runs
        QTest::qWait(100);
        QCOMPARE(runs, 0);
    }

    void theDeadlineCountsFromTheShowing() {
        QStringList log;
        LoggingWidget widget(log);
        widget.setUpdatesEnabled(false); // shown, but never painted
        new AfterFirstPaint(
            &widget, [&log] { log << QStringLiteral("work"); }, 300);
        QTest::qWait(200); // a slow load before the window shows
        widget.show();
        QTest::qWait(200); // 400 ms after the making, 200 after the showing
        QVERIFY(!log.contains(QStringLiteral("work")));
        QTRY_VERIFY(log.contains(QStringLiteral("work")));
    }
};

QTEST_MAIN(AfterFirstPaintTest)
#include "tst_afterfirstpaint.moc"
