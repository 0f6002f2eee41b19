#pragma once

// quvexctl run as a child to its end, for the tests that meet it as a shell does. QUVEXCTL is the
// built program's path, given by the test's target.
#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace quvex::test {

struct Run
{
    int exit_code = -1;
    QByteArray out;
    QByteArray err;
};

// Run as another user with `setpriv` when the arguments begin with its options.
inline Run quvexctl(const QStringList &arguments)
{
    QProcess process;
    const qsizetype own = arguments.indexOf(QStringLiteral("--clear-groups")) + 1;
    if (own > 0)
        process.start(QStringLiteral("setpriv"),
                      arguments.mid(0, own) + QStringList{QStringLiteral(QUVEXCTL)} + arguments.mid(own));
    else
        process.start(QStringLiteral(QUVEXCTL), arguments);
    if (!process.waitForFinished(20000))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace quvex::test
