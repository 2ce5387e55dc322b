#pragma once
#include "empcxquery.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPushButton;
class QRadioButton;
class DialogKeyFilter;

// The employee query dialog (员工查询对话框): about thirty conditions on the employee archive.
// 查询(&P) (also Ctrl+S) checks the dates and closes with OK; 关闭(&C) (also Esc) closes with
// Cancel. Enter moves to the next control.
class TDlgEmpCX : public QDialog {
    Q_OBJECT
public:
    explicit TDlgEmpCX(QWidget *parent = nullptr);
    ~TDlgEmpCX() override;

    // Runs the dialog modally; the whole statement (every matching employee by code), empty when
    // the dialog was closed with 关闭.
    SqlPart BuildEmployeeQuery();
    // The conditions as the form holds them now.
    personnel::EmpCxQuery query() const;
    // The text control (edit or choice box) of a condition column; nullptr for other columns.
    QWidget *control(const QString &column) const;
    // Puts text into the control of column.
    void setConditionText(const QString &column, const QString &text);

    QRadioButton *rbAll = nullptr;    // 全    部
    QRadioButton *rbNormal = nullptr; // 正    常
    QRadioButton *rbLeft = nullptr;   // 已离职
    // 录用日期, 毕业日期, 离职日期 (index by EmpCxQuery::DateKind), then 生日 (index 3)
    QCheckBox *rangeBox[4] = {};
    QCheckBox *fromTick[3] = {};
    QCheckBox *toTick[3] = {};
    QDateEdit *fromDate[4] = {};
    QDateEdit *toDate[4] = {};
    QPushButton *Button1 = nullptr; // 查询(&P)
    QPushButton *Button2 = nullptr; // 关闭(&C)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void button1Click();

    QMap<QString, QWidget *> m_controls; // lower-case column -> control
    QMap<QWidget *, QString> m_codeKinds;
    DialogKeyFilter *m_keys = nullptr;
};

// Runs the query dialog over owner. On 查询 *condition receives the typed conditions as one
// piece "and (…) " with bound values (the department restriction left to the caller's own
// statement) and true is returned; on 关闭 false and *condition is untouched.
bool RunEmpQuery(QWidget *owner, SqlPart *condition);
