// What any Qt program costs on this machine, and what any program that shows the board costs.
//
//   zeltomil_bare_window                   a bare Qt Widgets window with one label
//   zeltomil_bare_window --floor W H       a W x H window that only draws the board's texts
//   --place X Y W H                        puts the label's window there, at that size (so that
//                                          a pointer sweep over the board passes over it too)
//   --title-blink                          changes the window title once a second, as the
//                                          board's caption does
//
// The floor draws, with the simplest code there is, what the board cannot do without: a window
// of the board's size and the texts of its 101 name tags (bold gothic) and 100 markers (bold
// mincho), 20 characters each, at the board's default size. No roster, no layout, no widgets
// per element. Under ZELTOMIL_EXIT_AFTER_FIRST_PAINT=1 both report their first paint exactly as
// the board does.
#include "platform/FirstPaintReport.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {
// The benchmark's names: a prefix, the number in full-width digits, a suffix; 20 characters.
QString longName(const QString& prefix, int number, const QString& suffix) {
    QString digits = QString::number(number).rightJustified(3, u'0');
    for (QChar& c : digits)
        c = QChar(c.unicode() - u'0' + 0xFF10);
    return (prefix + digits + suffix).left(20);
}

QFont boldFont(const QString& family) {
    QFont font(family, 9);
    font.setBold(true);
    return font;
}

class BoardTexts : public QWidget {
  public:
    BoardTexts() {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(0, 0, 64));
        setPalette(pal);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int columns = 11;
        const int pitch = std::max(1, width() / columns);
        painter.setFont(boldFont(QStringLiteral("IPAGothic")));
        painter.setPen(Qt::white);
        for (int i = 0; i < 101; ++i)
            painter.drawText(QPointF(i / 10 * pitch, 20 + i % 10 * 24),
                             longName(QStringLiteral("ゼルトミル当番表の試験用長い氏名"), i,
                                      QStringLiteral("様")));
        painter.setFont(boldFont(QStringLiteral("IPAMincho")));
        painter.setPen(QColor(0, 0, 255));
        for (int m = 0; m < 100; ++m)
            painter.drawText(QPointF(m / 10 * pitch + pitch / 2, 20 + m % 10 * 24),
                             longName(m % 2 ? QStringLiteral("緑色当番の試験用とても長い名前第")
                                            : QStringLiteral("黄色当番の試験用とても長い名前第"),
                                      m, QStringLiteral("番")));
    }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QWidget* shown = nullptr;
    QLabel label(QStringLiteral("ゼルトミル"));
    BoardTexts floor;
    if (const qsizetype at = args.indexOf(QStringLiteral("--floor"));
        at > 0 && at + 2 < args.size()) {
        floor.resize(args[at + 1].toInt(), args[at + 2].toInt());
        shown = &floor;
    } else {
        shown = &label;
        if (const qsizetype at = args.indexOf(QStringLiteral("--place"));
            at > 0 && at + 4 < args.size())
            label.setGeometry(args[at + 1].toInt(), args[at + 2].toInt(), args[at + 3].toInt(),
                              args[at + 4].toInt());
    }
    QTimer blink;
    if (args.contains(QStringLiteral("--title-blink"))) {
        shown->setWindowTitle(QStringLiteral("ゼルトミル"));
        QObject::connect(&blink, &QTimer::timeout, shown, [shown] {
            shown->setWindowTitle(shown->windowTitle() == QStringLiteral("ゼルトミル")
                                      ? QStringLiteral("ぜるとみる")
                                      : QStringLiteral("ゼルトミル"));
        });
        blink.start(1000);
    }
    zel::FirstPaintReport firstPaint;
    if (zel::FirstPaintReport::wanted())
        shown->installEventFilter(&firstPaint);
    shown->show();
    return app.exec();
}
