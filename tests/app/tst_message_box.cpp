// The panel's message box as the operator reads it.
#include "window_rig.h"

class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_as_meant()
    {
        const auto box = app::make_message_box(nullptr, u"Lost.\rCheck"_s, u"Error"_s, link::MessageIcon::Exclamation);
        QCOMPARE(box->text(), u"Lost.\nCheck"_s);
        QVERIFY(box->windowTitle() == u"Error"_s && box->icon() == QMessageBox::Warning);
        QVERIFY(box->standardButtons() == QMessageBox::Ok && box->isModal());
        const auto plain = app::make_message_box(nullptr, u"COM port closed."_s, {}, link::MessageIcon::None);
        QCOMPARE(plain->windowTitle(), u"QUVEX control panel"_s);
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"
