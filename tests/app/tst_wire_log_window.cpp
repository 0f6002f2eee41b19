// The wire log beside the panel, and the hint of bytes that are not text.
#include "window_rig.h"

class TestWireLogWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Opened from the Port menu beside the panel, the log stays usable while the panel works and
    // takes its lines in batches. A read that brings bytes that are not text puts the hint on
    // the status line, without a message, until the next operation.
    void wire_log_and_the_not_text_hint()
    {
        Rig rig;
        QCOMPARE(rig.get<QMenu>(u"port"_s).actions().constLast()->text(), u"Wire log"_s);
        rig.get<QAction>(u"wire_log"_s).trigger();
        auto &log = rig.get<app::WireLogWindow>(u"wire_log_window"_s);
        QVERIFY(log.isVisible() && log.frameGeometry().left() > rig.window.frameGeometry().right());
        bool usable = true;
        rig.while_waiting = [&] { usable = usable && log.isVisible() && log.isEnabled(); };
        rig.unit.script_next_answer({QByteArray("\x80\0\0\x80", 4)});
        rig.click(u"Flicker Red."_s);
        auto &hint = rig.get<QLabel>(u"wire_hint"_s);
        QCOMPARE(hint.text(), test::kNotText);
        QTRY_VERIFY(hint.isVisible() && hint.height() >= hint.heightForWidth(hint.width()));
        QCOMPARE(rig.shown(), QString());
        QVERIFY(usable);

        const auto &view = rig.get<QPlainTextEdit>(u"wire_log_view"_s);
        QTRY_VERIFY(view.toPlainText().endsWith(test::kNotText));
        rig.click(u"Zoom "_s);
        QCOMPARE(hint.text(), QString());

        QTest::mouseClick(&rig.get(u"wire_log_copy"_s), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), log.text());
        QVERIFY(log.text().endsWith(u" ms  answer  0<CR><LF>\n"_s));
        QTest::mouseClick(&rig.get(u"wire_log_save"_s), Qt::LeftButton);
        auto *dialog = log.findChild<QFileDialog *>(u"wire_log_save_dialog"_s);
        dialog->selectFile(rig.folder.filePath(u"wire.txt"_s));
        QTest::keyClick(dialog, Qt::Key_Return);
        QFile saved(rig.folder.filePath(u"wire.txt"_s));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), log.text().toUtf8());

        for (int line = 0; line <= 10000; ++line)
            log.add_line(QString::number(line));
        QVERIFY(log.text().startsWith(u"1\n"_s) && log.text().endsWith(u"\n10000\n"_s));
        QTRY_COMPARE(view.blockCount(), 10000);
        QCOMPARE(view.document()->firstBlock().text(), u"1"_s);
    }
};

QTEST_MAIN(TestWireLogWindow)
#include "tst_wire_log_window.moc"
