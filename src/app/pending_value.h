#pragma once

#include <QObject>

#include <functional>

class QLineEdit;

namespace quvex::app {

class FocusOutWatch;
class WindowOperator;

// A value typed into the box, sent when the operator leaves the box. A click that takes the
// focus away is not delayed by it: the value goes with the click, or when the button is released
// elsewhere. Sends nothing for a box the panel filled, nor for focus the core took.
class PendingValue final : public QObject
{
    Q_OBJECT

public:
    // send sends the box's value, as leaving it does.
    PendingValue(QLineEdit &box, const WindowOperator &window_operator, std::function<void()> send);
    // The watch goes first: the box losing its focus while the controls are torn down, after the
    // core is gone, must not reach it.
    ~PendingValue() override;

    // Sends a value still waiting for its click, before the action that took the focus away.
    void commit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void left(Qt::FocusReason reason);

    QLineEdit &m_box;
    const WindowOperator &m_operator;
    std::function<void()> m_send;
    FocusOutWatch *m_watch;
    bool m_pending = false;
};

} // namespace quvex::app
