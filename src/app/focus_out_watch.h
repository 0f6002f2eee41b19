#pragma once

#include <QObject>

namespace quvex::app {

// Tells when the operator moves away from a widget. Focus taken by an opening menu or another
// window (a message box, another program) is no such move: the widget gets it back unchanged.
class FocusOutWatch final : public QObject
{
    Q_OBJECT

public:
    explicit FocusOutWatch(QObject *watched);

Q_SIGNALS:
    void left(Qt::FocusReason reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace quvex::app
