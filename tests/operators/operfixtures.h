#pragma once
// Shared helpers of the operator management tests.
#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"

#include <QApplication>
#include <QDialog>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>
#include <functional>

namespace operfixtures {

// Types text into w key by key, as a user would (also characters beyond ASCII).
inline void typeText(QWidget *w, const QString &text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The child of w with the object name; nullptr when there is none.
template <typename T> T *child(QWidget *w, const char *name) {
    return w ? w->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// While it lives, runs fn on the next modal dialog that opens (a dialog shown with exec() by the
// code under test), then closes that dialog if fn left it open, so that a failing check never
// hangs the test. opened() tells whether a dialog came at all.
class ModalWatch {
public:
    explicit ModalWatch(std::function<void(QDialog *)> fn) : m_before(QApplication::activeModalWidget()) {
        QObject::connect(&m_timer, &QTimer::timeout, [this, fn] {
            auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dlg || dlg == m_before)
                return;
            m_timer.stop();
            m_opened = true;
            fn(dlg);
            if (QApplication::activeModalWidget() == dlg)
                dlg->reject();
        });
        m_timer.start(10);
    }
    ModalWatch(const ModalWatch &) = delete;
    ModalWatch &operator=(const ModalWatch &) = delete;
    bool opened() const { return m_opened; }

private:
    QTimer m_timer;
    QWidget *m_before;
    bool m_opened = false;
};

inline void addRole(const QString &code, const QString &name, const QStringList &rightCodes = {},
                    bool disabled = false) {
    QVERIFY(TdmData::ExecSql("insert into PartList (F_Code, F_Name, F_Mem, F_Flag) values (?, ?, '', ?)",
                             {code, name, int(disabled)}));
    for (const QString &r : rightCodes)
        QVERIFY(TdmData::ExecSql("insert into PartLimit (F_PartCode, F_LmtCode) values (?, ?)", {code, r}));
}

inline void addOperator(const QString &code, const QString &name, const QString &password,
                        const QString &part = {}, int deptFlag = 0, const QString &deptQX = {}) {
    QVERIFY(TdmData::ExecSql(
        "insert into OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_new, F_edit, "
        "F_del, F_check, F_set, F_deptFlag, F_deptQX) values (?, ?, ?, ?, 1, 1, 1, 1, 1, ?, ?)",
        {code, name, SavePass(password), part, deptFlag, deptQX}));
}

inline void addEmployee(const QString &code, const QString &dept) {
    QVERIFY(TdmData::ExecSql("insert into t_employee (F_code, F_name, F_dept) values (?, ?, ?)",
                             {code, code, dept}));
}

// The first column of every row of sql, in the statement's order.
inline QStringList column(const QString &sql, const QVariantList &binds = {}) {
    QSqlQuery q(Database::db());
    QStringList out;
    if (!q.prepare(sql))
        return {QStringLiteral("<prepare failed>")};
    for (const QVariant &v : binds)
        q.addBindValue(v);
    if (!q.exec())
        return {QStringLiteral("<exec failed>")};
    while (q.next())
        out << q.value(0).toString();
    return out;
}

// Every row of table as "a|b|c" texts ordered by key: compared before and after a refused save.
inline QStringList tableRows(const QString &table) {
    QSqlQuery q(Database::db());
    QStringList out;
    if (!q.exec(QStringLiteral("select * from ") + table + QStringLiteral(" order by F_ID")))
        return {QStringLiteral("<exec failed>")};
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << q.value(i).toString();
        out << fields.join(QLatin1Char('|'));
    }
    return out;
}

// The action codes a role holds, sorted, duplicates kept.
inline QStringList roleRights(const QString &role) {
    return column("select F_LmtCode from PartLimit where F_PartCode = ? order by F_LmtCode", {role});
}

inline QString storedPassword(const QString &code) {
    return TdmData::LookupStr("select F_PassWord from OperList where F_Code = ?", {code});
}

} // namespace operfixtures
