#include "waitcursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

WaitCursor::WaitCursor() {
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_on = true;
    }
}

void WaitCursor::release() {
    if (m_on)
        QGuiApplication::restoreOverrideCursor();
    m_on = false;
}
