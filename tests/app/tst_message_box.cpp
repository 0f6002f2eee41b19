#include "app/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using quvex::link::MessageIcon;

Q_DECLARE_METATYPE(quvex::link::MessageIcon)

// The production message box, examined instead of shown: it must read as the core meant it.
class TestMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shows_the_message_data();
    void shows_the_message();
};

void TestMessageBox::shows_the_message_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<QString>("shown_text");
    QTest::addColumn<QString>("shown_title");
    QTest::addColumn<QMessageBox::Icon>("shown_icon");

    QTest::addRow("plain message") << QStringLiteral("COM port closed.") << QString() << MessageIcon::None
                                   << QStringLiteral("COM port closed.") << QStringLiteral("QUVEX control panel")
                                   << QMessageBox::NoIcon;
    QTest::addRow("no response") << QStringLiteral("QUVEX unit not responding.\rPlease check cables,")
                                 << QStringLiteral("Error") << MessageIcon::Exclamation
                                 << QStringLiteral("QUVEX unit not responding.\nPlease check cables,")
                                 << QStringLiteral("Error") << QMessageBox::Warning;
}

void TestMessageBox::shows_the_message()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(MessageIcon, icon);
    QFETCH(QString, shown_text);
    QFETCH(QString, shown_title);
    QFETCH(QMessageBox::Icon, shown_icon);

    const auto box = quvex::app::make_message_box(nullptr, text, title, icon);

    QCOMPARE(box->text(), shown_text);
    QCOMPARE(box->windowTitle(), shown_title);
    QCOMPARE(box->icon(), shown_icon);
    QCOMPARE(box->buttons().size(), 1);
    QCOMPARE(box->standardButton(box->buttons().constFirst()), QMessageBox::Ok);
    QVERIFY(box->isModal());
}

QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"
