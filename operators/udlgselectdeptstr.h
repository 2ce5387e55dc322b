#pragma once
#include <QDialog>

class CheckListBox;
class QPushButton;

// The department picker "部门选择 ": a two-column tick list of the departments of the code
// dictionary with 确定 and 取消.
class TDLGselectDeptSTR : public QDialog {
    Q_OBJECT
public:
    explicit TDLGselectDeptSTR(QWidget *parent = nullptr);

    // Ticks the departments named in a stored list "'a','b'" (full-width commas allowed).
    void setCurrent(const QString &current);
    // The ticked departments in their stored form; empty when none is ticked.
    QString result() const;

    CheckListBox *list() const { return m_list; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    CheckListBox *m_list;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

// Lets the user choose departments, starting from current (stored form). Returns the new list in
// the stored form, or current when cancelled or when there are no departments ("没有项目选择！").
QString SelectDepartments(const QString &current, QWidget *parent = nullptr);
