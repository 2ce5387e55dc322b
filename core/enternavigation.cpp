#include "enternavigation.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

bool isMultiLineEditor(const QWidget *w) {
    return qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w);
}

bool isTextInput(const QWidget *w) {
    if (!w)
        return false;
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
        isMultiLineEditor(w))
        return true;
    const auto *combo = qobject_cast<const QComboBox *>(w);
    return combo && combo->isEditable();
}

bool isCellEditor(const QWidget *w) {
    if (!w || qobject_cast<const QAbstractItemView *>(w))
        return false;
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const QAbstractItemView *>(p))
            return true;
    return false;
}

namespace {

// The control Tab would reach from focus, inside the same window, without the date boxes'
// habit of stepping through their own sections first.
QWidget *nextControl(QWidget *focus) {
    QWidget *window = focus->window();
    for (QWidget *w = focus->nextInFocusChain(); w && w != focus; w = w->nextInFocusChain()) {
        if (w == window || !window->isAncestorOf(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || w->focusProxy())
            continue;
        if (w->isVisibleTo(window) && w->isEnabled())
            return w;
    }
    return nullptr;
}

} // namespace

void moveToEndOfTabOrder(QWidget *window, const QList<QWidget *> &widgets) {
    QWidget *prev = nullptr;
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        bool ours = false;
        for (QWidget *x : widgets)
            ours = ours || x == w || x->isAncestorOf(w);
        if (!ours)
            prev = w;
    }
    for (QWidget *w : widgets) {
        if (prev)
            QWidget::setTabOrder(prev, w);
        prev = w;
    }
}

bool moveOnEnter(QWidget *focus) {
    if (!focus || isMultiLineEditor(focus) || qobject_cast<QAbstractItemView *>(focus))
        return false;
    if (qobject_cast<QPushButton *>(focus) || qobject_cast<QToolButton *>(focus)) {
        auto *button = static_cast<QAbstractButton *>(focus);
        if (button->isEnabled())
            button->click();
        return true;
    }
    if (QWidget *next = nextControl(focus))
        next->setFocus(Qt::TabFocusReason);
    return true;
}

DialogKeyFilter::DialogKeyFilter(QWidget *window, KeyHandler handler)
    : QObject(window), m_window(window), m_handler(std::move(handler)) {
    qApp->installEventFilter(this);
}

DialogKeyFilter::~DialogKeyFilter() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool DialogKeyFilter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !m_window || !watched->isWidgetType())
        return false;
    auto *target = static_cast<QWidget *>(watched);
    if (target->window() != m_window)
        return false;
    QWidget *focus = m_window->focusWidget();
    if (!focus)
        focus = m_window;
    if (target != focus && target != m_window) {
        // A key a control did not use travels up to its parents: only its first receiver and
        // the window judge it, both by the same focus, so it cannot act twice.
        if (target->isAncestorOf(focus))
            return false;
        // a key sent straight to a control is judged as if that control had the focus
        focus = target;
    }
    if (isCellEditor(focus))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (m_handler && m_handler(focus, key))
        return true;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier)
        return moveOnEnter(focus);
    return false;
}
