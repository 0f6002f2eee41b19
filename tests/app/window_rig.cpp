#include "window_rig.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QStatusBar>
#include <QTest>

namespace quvex::test {

WindowRig::WindowRig(const QString &settings_path)
    : settings(panel, settings_path)
{
    catalogue::build_catalogue(catalogue);
    unit.on_tick = [this] { link.Timer1_Timer(); };
    window.attach(link, panel, settings);
    panel.Form_Load();
    window.show();
}

app::WindowHooks WindowRig::hooks()
{
    app::WindowHooks hooks;
    hooks.show_message = [this](QWidget *, const QString &text, const QString &, link::MessageIcon) {
        messages.append(text);
    };
    hooks.process_events = [this] {
        const QString status = window.statusBar()->currentMessage();
        if (statuses_seen.isEmpty() || statuses_seen.constLast() != status)
            statuses_seen.append(status);
        unit.step();
    };
    hooks.start_detached = [this](const QString &program, const QStringList &arguments) {
        started.append(QStringList{program} + arguments);
        return start_succeeds;
    };
    hooks.quit = [this] { ++quits; };
    return hooks;
}

void WindowRig::choose_model(int index)
{
    control<QAbstractButton>(QStringLiteral("quvex_%1").arg(index)).click();
}

bool WindowRig::click_line(const QString &name_start)
{
    auto &list = control<QListWidget>(QStringLiteral("menu_list"));
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->text().startsWith(name_start)) {
            list.scrollToItem(list.item(row));
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
            return true;
        }
    }
    return false;
}

QStringList WindowRig::written_lines() const
{
    QStringList written;
    for (const QString &line : unit.sent_lines()) {
        if (line.contains(u'='))
            written.append(line);
    }
    return written;
}

} // namespace quvex::test
