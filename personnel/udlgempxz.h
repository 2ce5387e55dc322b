#pragma once
#include <QDialog>
#include <QList>

class DBGridEh;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The employee selection dialog (员工选择): a filtered list of the employees in service. In its
// ordinary use the chosen employee's code goes back to the caller (SelectEmployee); in its
// wage-month use (AddToWageMonth) every pick appends the employee's wage row to the month and
// the list then shows only employees who still have none there.
class TDLGempXZ : public QDialog {
    Q_OBJECT
public:
    explicit TDLGempXZ(QWidget *parent = nullptr);

    // Runs the dialog modally with the code box holding initialCode. The code of the list's
    // current row when closed with 确定 (or a double-click) on a list that is not empty;
    // initialCode otherwise.
    QString SelectEmployee(const QString &initialCode);
    // Runs the dialog modally in wage-month mode for monthKey ("yyyyMM"); the number of wage
    // rows appended while it was open.
    int AddToWageMonth(const QString &monthKey);

    // Switches to wage-month mode (before showing the dialog without exec()).
    void setWageMonth(const QString &monthKey);
    QString wageMonth() const { return m_monthKey; }
    // Re-reads the list with the current filters; false when the statement failed.
    bool refreshList();
    // Refills the value list for the chosen attribute (its "全部" row selected) and re-reads the
    // employee list once.
    void refillValueList();
    // Wage-month mode: appends the selected employees (or the current one) to the month and
    // re-reads the list. True when rows were appended.
    bool addSelectedToMonth();
    bool addCurrentToMonth();
    // "新增员工": the employee editor in quick-add mode; after a save the list is re-read and
    // moved to the new employee.
    void quickAddEmployee();
    // Moves the list to the employee with key id; false when it is not listed.
    bool locateEmployee(qint64 id);
    // The code of the list's current row (empty for an empty list).
    QString currentCode() const;
    int addedCount() const { return m_added; }

    QLineEdit *edtCode = nullptr;
    QLineEdit *edtName = nullptr;
    QComboBox *cbbduty = nullptr;
    QPushButton *BitBtn3 = nullptr; // 查询
    QTableWidget *vleList = nullptr;
    QComboBox *cbbListType = nullptr;
    QPushButton *Button1 = nullptr; // 刷新列表
    DBGridEh *DBGridEh1 = nullptr;
    QPushButton *BitBtn1 = nullptr; // 确定
    QPushButton *BitBtn2 = nullptr; // 取消
    QPushButton *BitBtn4 = nullptr; // 新增员工

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void okClick();
    void gridDoubleClick();
    QList<qint64> pickedIds() const;

    QString m_monthKey;
    int m_added = 0;
    bool m_filling = false;
};

// The selection dialog for one pick: creates it over owner, runs SelectEmployee(initialCode)
// and frees it.
QString SelectEmployee(QWidget *owner, const QString &initialCode);
// The selection dialog in wage-month mode over owner for monthKey; the rows appended.
int AddToWageMonth(QWidget *owner, const QString &monthKey);
