#pragma once
#include <QObject>
#include <functional>

class QWidget;

// Runs a validate handler when the focus is about to leave a control for
// another control of the program, and keeps the focus there when the handler
// sets its cancel flag. Focus lost to a popup or another window is not a leave.
class FocusValidator : public QObject {
public:
    using Handler = std::function<void(bool &cancel)>;
    FocusValidator(QWidget *control, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_control;
    Handler m_handler;
    bool m_running = false;
};
