// A value typed into the box goes to the unit however the operator leaves the box.
#include "window_rig.h"

class TestPendingValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void click_that_takes_the_focus_from_the_value_box_still_acts_data()
    {
        QTest::addColumn<QString>("pressed"); // a button, or the list line starting with this text
        QTest::addColumn<QString>("released");
        QTest::addColumn<QString>("wire");
        QTest::addRow("plus") << u"inc"_s << u"inc"_s << u"PanXPos:=77 PanXPos: PanXPos:=78 PanXPos:"_s;
        QTest::addRow("another line") << u"Pan Y Pos:"_s << u"Pan Y Pos:"_s << u"PanXPos:=77 PanXPos: PanYPos:"_s;
        QTest::addRow("a drag over lines")
            << u"Overscan"_s << u"Flicker Red."_s << u"PanXPos:=77 PanXPos: FlickerRed."_s;
    }

    // The release of the click arrives while the typed value is still on its way to the unit,
    // as it does when a person clicks. A drag over the list chooses the line where it ends.
    void click_that_takes_the_focus_from_the_value_box_still_acts()
    {
        QFETCH(QString, pressed);
        QFETCH(QString, released);
        Rig rig;
        rig.click(u"Pan X Pos:"_s);
        auto &value_box = rig.get<QLineEdit>(u"item_value"_s);
        value_box.setFocus();
        value_box.selectAll();
        QTest::keyClicks(&value_box, u"77"_s);
        rig.unit.clear_sent();

        const auto [widget, from] = rig.place(pressed);
        const QPoint to = rig.place(released).second;
        bool done = false;
        QTimer::singleShot(0, widget, [&, widget = widget] {
            QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(widget, &move);
            QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
            done = true;
        });
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTRY_VERIFY(done);
        QCoreApplication::processEvents();
        QTEST(rig.unit.sent_lines().join(u' '), "wire");
        QVERIFY(widget->hasFocus() || widget->parentWidget()->hasFocus());
    }
};

QTEST_MAIN(TestPendingValue)
#include "tst_pending_value.moc"
