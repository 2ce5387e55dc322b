#include "ueditdialog.h"
#include "waitcursor.h"

#include "database.h"
#include "datadm.h"
#include "enternavigation.h"
#include "keltrin.h"
#include "transaction.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QSqlQuery>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *navButton(QWidget *parent, const char *icon, const char *tip) {
    auto *b = new QToolButton(parent);
    b->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
    b->setToolTip(QString::fromUtf8(tip));
    b->setText(QString::fromUtf8(tip));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TEditDialog::TEditDialog(const QString &recordName, QWidget *parent)
    : QDialog(parent), m_recordName(recordName), m_body(new QWidget(this)) {
    auto *bar = new QWidget(this);
    m_continuous = new QCheckBox(QStringLiteral("连续新增"), bar);
    m_continuous->setChecked(true);
    m_navigator = new QWidget(bar);
    m_first = navButton(m_navigator, "go-first", "首项");
    m_prior = navButton(m_navigator, "go-previous", "前项");
    m_next = navButton(m_navigator, "go-next", "后项");
    m_last = navButton(m_navigator, "go-last", "末项");
    auto *nav = new QHBoxLayout(m_navigator);
    nav->setContentsMargins(0, 0, 0, 0);
    nav->setSpacing(0);
    for (QToolButton *b : {m_first, m_prior, m_next, m_last})
        nav->addWidget(b);
    m_ok = new QPushButton(QIcon::fromTheme(QStringLiteral("dialog-ok")), QStringLiteral("确定"), bar);
    m_cancel =
        new QPushButton(QIcon::fromTheme(QStringLiteral("dialog-cancel")), QStringLiteral("取消"), bar);
    // Enter moves between the fields; it never presses a button the focus is not on.
    for (QPushButton *b : {m_ok, m_cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->addWidget(m_continuous);
    barLayout->addWidget(m_navigator);
    barLayout->addStretch(1);
    barLayout->addWidget(m_ok);
    barLayout->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_body, 1);
    layout->addWidget(bar);

    connect(m_ok, &QPushButton::clicked, this, [this] { saveRecord(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_first, &QToolButton::clicked, this, &TEditDialog::goFirst);
    connect(m_prior, &QToolButton::clicked, this, &TEditDialog::goPrior);
    connect(m_next, &QToolButton::clicked, this, &TEditDialog::goNext);
    connect(m_last, &QToolButton::clicked, this, &TEditDialog::goLast);

    new DialogKeyFilter(this, [this](QWidget *focus, QKeyEvent *event) { return handleKey(focus, event); });
    m_navigator->hide();
    setWindowTitle(m_recordName + QStringLiteral(" - 新增"));
}

TEditDialog::~TEditDialog() = default;

void TEditDialog::setAddMode() {
    m_mode = Mode::Add;
    m_ids.clear();
    m_index = -1;
    setWindowTitle(m_recordName + QStringLiteral(" - 新增"));
    m_continuous->show();
    m_navigator->hide();
    clearForNew();
}

void TEditDialog::setEditMode(const QList<qint64> &ids, int index) {
    m_mode = Mode::Edit;
    m_ids = ids;
    setWindowTitle(m_recordName + QStringLiteral(" - 修改"));
    m_continuous->hide();
    m_navigator->show();
    m_index = -1;
    moveTo(qBound(0, index, qMax(0, ids.size() - 1)));
}

qint64 TEditDialog::currentId() const {
    return m_mode == Mode::Edit && m_index >= 0 && m_index < m_ids.size() ? m_ids.at(m_index) : -1;
}

void TEditDialog::moveTo(int index) {
    if (index < 0 || index >= m_ids.size()) {
        updateNavigator();
        return;
    }
    if (index != m_index) {
        m_index = index;
        loadRecord(m_ids.at(index));
    }
    updateNavigator();
}

void TEditDialog::updateNavigator() {
    const bool rows = m_mode == Mode::Edit && m_index >= 0 && !m_ids.isEmpty();
    const bool atFirst = !rows || m_index == 0;
    const bool atLast = !rows || m_index >= m_ids.size() - 1;
    m_first->setEnabled(!atFirst);
    m_prior->setEnabled(!atFirst);
    m_next->setEnabled(!atLast);
    m_last->setEnabled(!atLast);
}

void TEditDialog::goFirst() {
    moveTo(0);
}

void TEditDialog::goPrior() {
    moveTo(m_index - 1);
}

void TEditDialog::goNext() {
    moveTo(m_index + 1);
}

void TEditDialog::goLast() {
    moveTo(m_ids.size() - 1);
}

bool TEditDialog::saveRecord() {
    if (!validate())
        return false;
    qint64 id = kSaveFailed;
    {
        WaitCursor wait;
        Transaction t(Database::db());
        if (t.active()) {
            id = save(t);
            if (id >= 0 && !t.commit())
                id = kSaveFailed;
        }
        if (id < 0)
            t.rollback();
    }
    if (id < 0) {
        if (id != kSaveRefused)
            ShowMess(QStringLiteral("保存失败，请检测数据库连接！"), 3);
        return false;
    }
    m_savedId = id;
    ++m_saveCount;
    emit recordSaved(id);
    if (m_mode == Mode::Add && m_continuous->isChecked()) {
        clearForNew();
        focusFirstField();
    } else {
        accept();
    }
    return true;
}

void TEditDialog::focusFirstField() {
    for (QWidget *w = m_body->nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (!m_body->isAncestorOf(w) || w->focusProxy() || (w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus)
            continue;
        if (w->isVisibleTo(this) && w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool TEditDialog::enterKey(QWidget *) {
    return false;
}

void TEditDialog::showEvent(QShowEvent *event) {
    // the fields of the derived dialog come first in Tab order, then 确定, 取消, 连续新增
    moveToEndOfTabOrder(this, {m_ok, m_cancel, m_continuous});
    QDialog::showEvent(event);
}

bool TEditDialog::handleKey(QWidget *focus, QKeyEvent *event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier && event->key() == Qt::Key_S) {
        if (m_ok->isVisible() && m_ok->isEnabled())
            m_ok->click();
        return true;
    }
    if (mods != Qt::NoModifier)
        return false;
    if (event->key() == Qt::Key_Escape) {
        m_cancel->click();
        return true;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return enterKey(focus);
    return false;
}

bool TEditDialog::execSql(const QString &sql, const QVariantList &binds) {
    return TdmData::ExecSqlQuiet(sql, binds);
}

qint64 TEditDialog::insertSql(const QString &sql, const QVariantList &binds) {
    QSqlQuery q(Database::db());
    if (!q.prepare(sql))
        return kSaveFailed;
    TdmData::BindAll(q, binds);
    if (!q.exec())
        return kSaveFailed;
    const QVariant id = q.lastInsertId();
    return id.isValid() ? id.toLongLong() : kSaveFailed;
}
