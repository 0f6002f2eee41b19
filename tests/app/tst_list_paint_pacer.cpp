// The adjustment list's painting held back while a run changes its lines.
#include "app/list_paint_pacer.h"
#include "window_rig.h"

// Counts the paints a widget gets.
struct PaintCount : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class TestListPaintPacer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A run locks the window, changes only lines out of sight and unlocks it while the list's
    // painting is held back: the lines in sight must not stay greyed out.
    void list_unlocked_while_its_painting_is_held_is_painted_again()
    {
        QListWidget list;
        for (int row = 0; row < 100; ++row)
            list.addItem(QString::number(row));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        app::ListPaintPacer pacer(list);
        PaintCount shown;
        list.viewport()->installEventFilter(&shown);
        list.setEnabled(false);
        QTRY_VERIFY(shown.paints > 0); // greyed out
        pacer.before_change(99);
        list.item(99)->setText(u"changed"_s);
        list.setEnabled(true);
        shown.paints = 0;
        QTRY_VERIFY(shown.paints > 0);
    }
};

QTEST_MAIN(TestListPaintPacer)
#include "tst_list_paint_pacer.moc"
