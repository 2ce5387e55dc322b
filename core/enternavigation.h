#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

// True for a control where Enter makes a new line (multi-line text boxes).
bool isMultiLineEditor(const QWidget *w);
// True for a control the user types text into (line boxes, editable choice boxes, number and
// date boxes, multi-line text boxes).
bool isTextInput(const QWidget *w);
// True for an editor opened inside a cell of a grid or list: its keys belong to the cell.
bool isCellEditor(const QWidget *w);
// Puts widgets, in this order, after every other control of window in Tab order (a base puts
// its own controls behind the ones a derived window adds later).
void moveToEndOfTabOrder(QWidget *window, const QList<QWidget *> &widgets);
// What Enter does on the control focus: a multi-line box, a grid or a list keeps it for itself
// (false); a focused push or tool button is clicked (check boxes are not); any other control hands the focus
// to the next control in Tab order. True when Enter was used here.
bool moveOnEnter(QWidget *focus);

// Catches the key presses meant for one window (or any control inside it) before the control
// sees them. The window's handler is asked first and returns true for a key it used; an Enter it
// leaves alone then moves on as moveOnEnter says. Keys typed into a cell editor of a grid are
// left to the cell. Installed on the application, removed when the filter or the window goes.
class DialogKeyFilter : public QObject {
    Q_OBJECT
public:
    using KeyHandler = std::function<bool(QWidget *focus, QKeyEvent *event)>;

    DialogKeyFilter(QWidget *window, KeyHandler handler);
    ~DialogKeyFilter() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_window;
    KeyHandler m_handler;
};
