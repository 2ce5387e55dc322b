#pragma once
#include "hrmquery.h"

#include "core/ulistwindow.h"

#include <QList>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTableWidget;
class QTabWidget;
class QToolBar;
class QToolButton;

// "员工档案管理": the list of employees with quick search, a value list for one-click filtering
// by an attribute, the advanced query, and the seven tabs of the current employee's
// sub-records. Employees are added and edited through the employee editor, deleted with all
// their sub-records, moved to another department in groups, printed through three report
// templates and exported.
class TfrmHRMman : public TListWindow {
    Q_OBJECT
public:
    explicit TfrmHRMman(QWidget *parent = nullptr);
    ~TfrmHRMman() override;

    // --- filters ---
    QComboBox *ComboBox1 = nullptr;  // 查询类型
    QLineEdit *Edit1 = nullptr;      // 查询内容
    QCheckBox *CheckBox2 = nullptr;  // 包含已离职
    QPushButton *bbFind = nullptr;   // 查找(F3)
    QToolButton *sbGJfind = nullptr; // 高级查找...
    QToolButton *SpeedButton2 = nullptr;
    QTableWidget *vleList = nullptr;  // the value list: number, value
    QComboBox *cbbListType = nullptr; // the value list's attribute
    QPushButton *Button1 = nullptr;   // 刷新列表

    // --- tabs ---
    QListWidget *ListView1 = nullptr;
    QTabWidget *rpcList = nullptr;
    QToolBar *tbDetail = nullptr;
    QAction *tbdNew = nullptr;
    QAction *tbdEdit = nullptr;
    QAction *tbdDel = nullptr;
    QAction *tbdPX = nullptr;
    QAction *tbdExport = nullptr;
    DBGridEh *detailGrid(int tab) const { return m_details.value(tab); }

    // --- menus ---
    QMenu *printMenu = nullptr; // nPrint1..3
    QMenu *setMenu = nullptr;   // nSet1..3
    QAction *nPrint[3] = {};
    QAction *nSet[3] = {};
    QAction *N5 = nullptr; // 更改员工部门

    // The summary of the current employee for the tab editors (hrm::employeeSummary).
    QString currentSummary() const;
    // The filters as they stand.
    hrm::ListFilter filter() const;
    // The report data: frxDM and frxMain the employee list, frxDetail1..7 the current
    // employee's tab rows.
    ReportData reportData();
    // The template of nPrint<n>/nSet<n> (n from 1).
    static QString reportTemplateName(int n);

    // The commands.
    // Refills the value list for cbbListType's attribute and reloads the list once.
    void refillValueList();
    // The advanced query button was pressed or released.
    void advancedQuery(bool down);
    // Changes the department of the selected employees ("更改员工部门").
    void changeDeptOfSelected();
    // Writes dept into every selected row in selection order, through the grid; the rows that
    // could not be written are passed over. Returns how many rows were changed.
    int setDeptOfSelected(const QString &dept);
    void printReport(int n);
    void designReport(int n);
    void detailNew();
    void detailEdit();
    void detailDelete();
    void detailSort();
    void detailExport();
    // The visible tab (-1 when the bottom panel is hidden).
    int visibleTab() const;
    // Reopens the visible tab's rows for the current employee.
    void reloadDetail(int tab);

    // The way tab records are edited (the sub-record editors plug in here): tab, add or edit,
    // the employee's key and the tab row's key (-1 when adding). True when something was saved.
    using TabEditor = std::function<bool(QWidget *owner, int tab, bool add, qint64 employeeId, qint64 rowId)>;
    static void setTabEditor(TabEditor editor);

protected:
    SqlPart buildQuery() const override;
    void openList() override;
    void addRecord() override;
    void editRecord() override;
    QString deleteQuestion() const override;
    bool deleteRecord() override;
    void printList() override;
    void designReport() override;
    bool enterKey(QWidget *focus) override;

private:
    void buildFilterArea();
    void buildSidePanel();
    void buildBottomPanel();
    void applyDisplayRules();
    void refreshFromFilters();
    void currentEmployeeChanged();
    qint64 runEditor(bool add);

    QList<DBGridEh *> m_details;
    QList<bool> m_detailStale;
    bool m_filling = false;
    bool m_advanced = false; // the list shows the advanced query's result
    SqlPart m_advancedCondition;
    qint64 m_detailEmployee = -2;
};
