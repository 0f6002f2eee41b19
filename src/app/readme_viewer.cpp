#include "readme_viewer.h"

#include "text/visible_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>

#include <cmath>
#include <utility>

namespace quvex::app {

namespace {

#ifdef Q_OS_WIN
const QString kViewer = QStringLiteral("notepad.exe");
#else
const QString kViewer = QStringLiteral("xdg-open");
#endif

// What the help is written for: lines of at most 80 characters, read a screenful at a time.
constexpr int kTextColumns = 80;
constexpr int kTextLines = 40;

// xdg-open's statuses for "no program can open this file" and "the program it started failed";
// the others mean that a viewer has the file, or that it was given something else.
bool viewer_could_not_show(QProcess::ExitStatus how, int status)
{
    return how == QProcess::NormalExit && (status == 3 || status == 4);
}

} // namespace

ReadmeViewer::ReadmeViewer(QWidget &window, QProcessEnvironment environment, QString program_folder)
    : QObject(&window)
    , m_window(window)
    , m_environment(std::move(environment))
    , m_program_folder(std::move(program_folder))
{
    setObjectName(QStringLiteral("readme_viewer"));
}

ReadmeViewer::~ReadmeViewer()
{
    // Only an xdg-open that still waits for its viewer ends with the panel; the viewer stays open.
    for (QProcess *viewer : findChildren<QProcess *>()) {
        viewer->disconnect(this);
        viewer->kill();
        viewer->waitForFinished();
    }
}

QString ReadmeViewer::open()
{
    const QString here = QDir::currentPath();
    const QString installed = QDir::cleanPath(m_program_folder + QStringLiteral("/../share/quvex-panel"));
    QString path = here + QStringLiteral("/readme.txt");
    if (!QFileInfo(path).isFile())
        path = installed + QStringLiteral("/readme.txt");
    // A viewer would offer to create the missing file or fail somewhere nobody looks.
    if (!QFileInfo(path).isFile()) {
        return QStringLiteral("readme.txt was not found in %1 or %2.")
            .arg(text::visible(QDir::toNativeSeparators(here)), text::visible(QDir::toNativeSeparators(installed)));
    }
    // Read now, so that the panel's own window has the text whenever the viewer gives up.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("Could not open readme.txt: %1.").arg(file.errorString());
    const QString text = QString::fromUtf8(file.readAll());
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Could not open readme.txt: %1.").arg(file.errorString());

    // Looked up here, as QProcess would look on the panel's own PATH and not on the one it passes on.
    const QString program = QStandardPaths::findExecutable(
        kViewer, m_environment.value(QStringLiteral("PATH")).split(QDir::listSeparator(), Qt::SkipEmptyParts));
    if (program.isEmpty()) {
        show_text(text);
        return {};
    }
    auto *viewer = new QProcess(this);
    viewer->setProcessEnvironment(m_environment);
    // What the viewer says goes where a viewer started on its own would say it.
    viewer->setProcessChannelMode(QProcess::ForwardedChannels);
    viewer->setInputChannelMode(QProcess::ForwardedInputChannel);
    // xdg-open may wait for the viewer it started and report only when that is closed.
    connect(viewer, &QProcess::finished, this, [this, viewer, text](int status, QProcess::ExitStatus how) {
        if (viewer_could_not_show(how, status))
            show_text(text);
        viewer->deleteLater();
    });
    connect(viewer, &QProcess::errorOccurred, this, [this, viewer, text](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        show_text(text);
        viewer->deleteLater();
    });
    viewer->start(program, {QDir::toNativeSeparators(path)});
    return {};
}

void ReadmeViewer::show_text(const QString &text)
{
    if (!m_text_window) {
        m_text_window = new QPlainTextEdit(&m_window);
        m_text_window->setWindowFlag(Qt::Window);
        m_text_window->setObjectName(QStringLiteral("readme_text"));
        m_text_window->setWindowTitle(QStringLiteral("readme.txt"));
        m_text_window->setAccessibleName(QStringLiteral("Help"));
        m_text_window->setReadOnly(true);
        m_text_window->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        // The help lays its text out in columns, which only a fixed pitch keeps.
        m_text_window->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        m_text_window->setLineWrapMode(QPlainTextEdit::NoWrap);
        const QFontMetrics metrics(m_text_window->font());
        const int edges =
            2
            * (m_text_window->frameWidth() + static_cast<int>(std::ceil(m_text_window->document()->documentMargin())));
        const int bar = m_text_window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_text_window);
        const QSize text_size(metrics.horizontalAdvance(QString(kTextColumns, u'x')) + edges + bar,
                              metrics.lineSpacing() * kTextLines + edges);
        m_text_window->resize(text_size.boundedTo(m_window.screen()->availableGeometry().size()));
    }
    m_text_window->setPlainText(text);
    m_text_window->show();
    m_text_window->raise();
    m_text_window->activateWindow();
}

} // namespace quvex::app
