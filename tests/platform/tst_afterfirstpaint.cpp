// Work put off until a widget's first paint: it runs once, after that paint has finished,
// or at the deadline when the widget never paints, and never for a widget already gone.
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
        // Not inside the paint: the whole paint came first.
        QCOMPARE(log.mid(0, 3),
                 QStringList({QStringLiteral("paint begins"), QStringLiteral("paint ends"),
                              QStringLiteral("work")}));

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
            new AfterFirstPaint(
                &widget, [&runs] { ++runs; }, 30);
            widget.show();
            // The paint is queued behind this block: the widget is gone before it runs.
        }
        QTest::qWait(100);
        QCOMPARE(runs, 0);
    }
};

QTEST_MAIN(AfterFirstPaintTest)
#include "tst_afterfirstpaint.moc"
