#include "app/control_form.h"
#include "app/main_window.h"

#include <QTest>
#include <QtWidgets>

using namespace quvex;

// The window on a 1280 by 1024 screen, run once at the usual scale and once with QT_FONT_DPI=240,
// where the described layout is taller than the screen.
class TestWindowFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data()
    {
        QTest::addColumn<qreal>("ratio");  // device pixels to a pixel of the layout
        QTest::addColumn<QSize>("screen"); // the screen's available area in pixels of the layout
        QTest::addColumn<bool>("scrolls");
        QTest::addRow("usual scale") << 1.0 << QSize(1280, 1024) << false;
        QTest::addRow("QT_FONT_DPI=240") << 2.5 << QSize(512, 410) << true;
    }

    // Where the layout fits, the window holds it as it is. Every control lies on the screen, or
    // comes onto it, whole or filling the visible part, when the form scrolls to it.
    void layout()
    {
        QFETCH(qreal, ratio);
        app::MainWindow window;
        if (!qFuzzyCompare(window.devicePixelRatio(), ratio))
            QSKIP("this run has another scale");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = window.screen()->availableGeometry();
        QTEST(screen.size(), "screen");
        QVERIFY(screen.contains(window.frameGeometry()));
        QCOMPARE(window.form().size(), QSize(451, 437)); // the described 6765 by 6555 twips
        auto *scroll = qobject_cast<QScrollArea *>(window.centralWidget());
        QTEST(scroll != nullptr, "scrolls");
        QVERIFY(scroll || window.centralWidget() == &window.form());

        QList<QWidget *> controls;
        for (QWidget *control : window.form().findChildren<QWidget *>()) {
            if (control->isVisibleTo(&window) && control->focusPolicy() != Qt::NoFocus)
                controls.append(control);
        }
        QCOMPARE(controls.size(), 29); // the port box, 7 unit types, +, value, -, 17 buttons, the list
        const QRect visible =
            scroll ? QRect(scroll->viewport()->mapToGlobal(QPoint()), scroll->viewport()->size()) : screen;
        QVERIFY(screen.contains(visible));
        for (QWidget *control : controls) {
            if (scroll)
                scroll->ensureWidgetVisible(control, 0, 0);
            const QRect place(control->mapToGlobal(QPoint()), control->size());
            QVERIFY2((place & visible).size() == place.size().boundedTo(visible.size()),
                     qPrintable(control->objectName()));
        }
        for (QWidget *bar : {static_cast<QWidget *>(window.menuBar()), static_cast<QWidget *>(window.statusBar())})
            QVERIFY(screen.contains(QRect(bar->mapToGlobal(QPoint()), bar->size())));
    }
};

QTEST_MAIN(TestWindowFit)
#include "tst_window_fit.moc"
