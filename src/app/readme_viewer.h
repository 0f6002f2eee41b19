#pragma once

#include <QObject>
#include <QPointer>
#include <QProcessEnvironment>
#include <QString>

class QPlainTextEdit;
class QWidget;

namespace quvex::app {

// Shows readme.txt: the one in the working folder, else the installed copy that lies at
// <program_folder>/../share/quvex-panel/readme.txt under whatever prefix the panel went to.
// The system's text viewer is started without a shell and watched without waiting for it; when
// it cannot be started, or ends saying it could not show the file, the panel's own text window
// shows it instead, so Help always shows the text.
class ReadmeViewer final : public QObject
{
    Q_OBJECT

public:
    // The viewer is looked up on the environment's PATH and started with that environment.
    ReadmeViewer(QWidget &window, QProcessEnvironment environment, QString program_folder);
    ~ReadmeViewer() override;

    // Empty once the text is on its way to the screen, else what the operator must be told.
    QString open();

private:
    void show_text(const QString &text);

    QWidget &m_window;
    QProcessEnvironment m_environment;
    QString m_program_folder;
    QPointer<QPlainTextEdit> m_text_window;
};

} // namespace quvex::app
