#include "datetickedit.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>

TDateTickEdit::TDateTickEdit(QWidget *parent) : QWidget(parent) {
    m_tick = new QCheckBox(this);
    m_edit = new QDateEdit(this);
    m_edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_edit->setCalendarPopup(true);
    m_edit->setDateRange(minimumDate(), maximumDate());
    m_edit->setDate(QDate::currentDate());
    auto *l = new QHBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    l->addWidget(m_tick);
    l->addWidget(m_edit, 1);
}

QDate TDateTickEdit::minimumDate() {
    return QDate(1901, 8, 14);
}

QDate TDateTickEdit::maximumDate() {
    return QDate(2999, 12, 31);
}

bool TDateTickEdit::isTicked() const {
    return m_tick->isChecked();
}

void TDateTickEdit::setTicked(bool on) {
    m_tick->setChecked(on);
}

QDate TDateTickEdit::shownDate() const {
    return m_edit->date();
}

QDate TDateTickEdit::date() const {
    return isTicked() ? m_edit->date() : QDate();
}

void TDateTickEdit::setDate(const QDate &date) {
    m_tick->setChecked(date.isValid());
    m_edit->setDate(date.isValid() ? date : QDate::currentDate());
}
