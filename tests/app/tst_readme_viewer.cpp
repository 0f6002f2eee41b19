// Help: readme.txt in the desktop's viewer, else in the panel's own text window.
#include "window_rig.h"

class TestReadmeViewer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void help_shows_the_readme_data()
    {
        QTest::addColumn<QString>("copies");   // where readme.txt lies: here (the working folder), installed
        QTest::addColumn<QString>("xdg_open"); // the status that xdg-open on the PATH exits with; none there
        QTest::addColumn<QString>("opened");   // the file it was given, in the test's folder
        QTest::addColumn<QString>("text");     // what the panel's own text window shows
        QTest::addColumn<QString>("message");  // %1 the working folder
        const QString here = u"readme.txt"_s, installed = u"share/quvex-panel/readme.txt"_s;
        QTest::addRow("the installed copy in the viewer") << u"installed"_s << u"0"_s << installed << u""_s << u""_s;
        QTest::addRow("the working folder's first") << u"here installed"_s << u"0"_s << here << u""_s << u""_s;
        QTest::addRow("no method to open it") << u"here"_s << u"3"_s << here << u"readme here"_s << u""_s;
        QTest::addRow("the viewer failed") << u"installed"_s << u"4"_s << installed << u"readme installed"_s << u""_s;
        QTest::addRow("no viewer on the PATH") << u"here"_s << u""_s << u""_s << u"readme here"_s << u""_s;
        QTest::addRow("no readme.txt") << u""_s << u"0"_s << u""_s << u""_s
                                       << u"readme.txt was not found in %1 or %1/share/quvex-panel."_s;
    }

    // The viewer is a real program found on the PATH the hooks pass on. Help returns while it
    // runs, and what it says at its end decides whether the panel shows the text itself.
    void help_shows_the_readme()
    {
        QFETCH(QString, copies);
        QFETCH(QString, xdg_open);
        Rig rig(false);
        const auto restore = qScopeGuard([previous = QDir::currentPath()] { QDir::setCurrent(previous); });
        QVERIFY(QDir::setCurrent(rig.folder.path()));
        QVERIFY(QDir().mkpath(u"path"_s) && QDir().mkpath(u"share/quvex-panel"_s));
        const auto write = [](const QString &name, const QByteArray &bytes) {
            QFile file(name);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        QVERIFY(!copies.contains(u"here"_s) || write(u"readme.txt"_s, "readme here"));
        QVERIFY(!copies.contains(u"installed"_s) || write(u"share/quvex-panel/readme.txt"_s, "readme installed"));
        if (!xdg_open.isEmpty()) {
            QVERIFY(
                write(u"path/xdg-open"_s, "#!/bin/sh\nprintf %s \"$1\" >opened\nexit " + xdg_open.toLatin1() + '\n'));
            QVERIFY(QFile::setPermissions(u"path/xdg-open"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }

        rig.get<QAction>(u"quick_ref"_s).trigger();
        QCOMPARE(rig.window.findChildren<QProcess *>().size(), copies.isEmpty() || xdg_open.isEmpty() ? 0 : 1);
        QTRY_VERIFY(rig.window.findChildren<QProcess *>().isEmpty());

        QFETCH(QString, opened);
        QFile given(u"opened"_s);
        QCOMPARE(given.open(QIODevice::ReadOnly) ? QString::fromUtf8(given.readAll()) : QString(),
                 opened.isEmpty() ? QString() : rig.folder.filePath(opened));
        QFETCH(QString, text);
        const auto *window = rig.window.findChild<QPlainTextEdit *>(u"readme_text"_s);
        QCOMPARE(window ? window->toPlainText() : QString(), text);
        if (window) {
            QVERIFY(window->isWindow() && window->isVisible() && window->isReadOnly());
            // By its letters' widths: fontconfig tells some fixed-pitch fonts (Noto Sans Mono) as proportional.
            const QFontMetrics pitch(window->font());
            QCOMPARE(pitch.horizontalAdvance(u'i'), pitch.horizontalAdvance(u'W'));
            QVERIFY(window->minimumSize() != window->maximumSize()); // the operator can resize it
        }
        QFETCH(QString, message);
        QCOMPARE(rig.shown(), message.replace(u"%1"_s, rig.folder.path()));
    }
};

QTEST_MAIN(TestReadmeViewer)
#include "tst_readme_viewer.moc"
