#pragma once
#include "deptrestriction.h"
#include "report.h"

#include <QDialog>
#include <QList>

class DBGridEh;
class QAction;
class QKeyEvent;
class QLabel;
class QSplitter;
class QStatusBar;
class QToolBar;
class TEditDialog;

// Appends a piece of SQL and its bound values to a statement under construction.
SqlPart &appendSql(SqlPart &to, const QString &sql, const QVariantList &binds = {});
SqlPart &appendSql(SqlPart &to, const SqlPart &part);

// The base of every list window: a tool bar (新增 修改 删除 | 首项 前项 后项 末项 | 打印 设置 输出 |
// 退出), a filter area the window fills, an optional side area left of the grid, the grid, and a
// status bar whose third panel shows "记录数：" and the number of rows of the whole result.
//
// A derived window gives the grid its columns, returns its statement from buildQuery(), and
// overrides addRecord() / editRecord() (usually through runEditDialog) and, when its rows are not
// simply deleted by F_ID from recordTable(), deleteRecord(). The window opens its list when it is
// first shown (openList()).
//
// Keys are caught before the controls: Ctrl+A 新增, Ctrl+E 修改, Delete 删除 (not while the focus
// is in a text box), Home 首项, PageUp 前项, PageDown 后项, End 末项, Esc closes; each acts only
// while its button is shown and enabled. Enter moves to the next control; in the grid it moves
// to the next column; a multi-line box keeps it.
class TListWindow : public QDialog {
    Q_OBJECT
public:
    enum Command { New, Edit, Delete, First, Prior, Next, Last, Print, Design, Export, Exit, CommandCount };

    explicit TListWindow(const QString &caption, QWidget *parent = nullptr);
    ~TListWindow() override;

    DBGridEh *grid() const { return m_grid; }
    QToolBar *toolBar() const { return m_toolBar; }
    // The area above the grid for the window's filter boxes and its 查询 button (give it a layout).
    QWidget *filterArea() const { return m_filterArea; }
    // The area left of the grid, behind a splitter (hidden until setSideAreaVisible(true)).
    QWidget *sideArea() const { return m_sideArea; }
    void setSideAreaVisible(bool on);
    QSplitter *splitter() const { return m_splitter; }
    QStatusBar *statusBar() const { return m_statusBar; }
    // Status bar panels 0..3 (widths 150, 150, 100, 50); panel 2 shows the record count.
    QLabel *statusPanel(int index) const;
    QLabel *countLabel() const { return statusPanel(2); }

    QAction *action(Command command) const { return m_actions.at(command); }
    // Shows or hides a tool bar command; a hidden command's key does nothing either.
    void setCommandVisible(Command command, bool visible);
    // Changes a command's caption (for instance "导出" instead of "输出").
    void setCommandText(Command command, const QString &text);
    // Adds a command of the window's own to the tool bar, before the command before.
    QAction *addCommand(const QString &text, const QString &iconName, Command before = Exit);

    // The text before the count in the status bar ("记录数：" unless changed).
    void setCountCaption(const QString &caption);
    QString countCaption() const { return m_countCaption; }
    // The field that identifies a row (F_ID unless changed).
    void setKeyField(const QString &field) { m_keyField = field; }
    QString keyField() const { return m_keyField; }
    // The grid layout kept in cfg_Grid under this key, loaded when the window opens.
    void setGridLayoutKey(const QString &key) { m_layoutKey = key; }
    // The report template of 打印 and 设置, and the window's own report variables.
    void setReportTemplate(const QString &name, const QStringList &variables = {});
    // The default file name of 输出.
    void setExportFileName(const QString &name) { m_exportFileName = name; }

    // Runs buildQuery() in the grid again and selects the row whose key is keepId; without one
    // (or when that row is no longer listed) the row at the current position stays selected.
    // Updates the count and the commands. False when the query failed (the grid is then empty).
    bool refreshList(qint64 keepId = -1);
    // The number of rows of the whole result, as the status bar shows it.
    int recordCount() const;
    // The key of the current row; -1 when there is none.
    qint64 currentId() const;
    // Selects the row whose key is id; false when it is not listed.
    bool selectId(qint64 id);
    // The keys of all listed rows in the grid's order.
    QList<qint64> rowIds() const;

    // The commands, as the tool bar and the keys run them.
    void newRecord();
    // "此表为空，没有记录需要修改！" (kind 3) on an empty list, otherwise editRecord().
    void editCurrent();
    // Nothing on an empty list; otherwise asks deleteQuestion() and on yes runs deleteRecord()
    // and reopens the list at the same position.
    void deleteCurrent();
    void goFirst();
    void goPrior();
    void goNext();
    void goLast();

signals:
    // The list was reopened (by refreshList).
    void listRefreshed();

protected:
    // The list's statement with its bound values; the base appends nothing to it (the
    // department restriction is the window's: see deptCondition).
    virtual SqlPart buildQuery() const = 0;
    // Loads the grid layout and opens the list; runs once, when the window is first shown.
    virtual void openList();
    virtual void addRecord() {}
    virtual void editRecord() {}
    // The text of the delete question.
    virtual QString deleteQuestion() const;
    // Deletes the current row; true when it is gone. The base deletes recordTable()'s row with
    // the current key through DeleteById.
    virtual bool deleteRecord();
    // The table whose rows the list shows and the base deletes.
    virtual QString recordTable() const { return QString(); }
    // 打印 and 设置: the report template over the grid's rows, asking reportValue for variables.
    virtual void printList();
    virtual void designReport();
    // A report variable of this window (memoDate, ...); an invalid value for "not mine".
    virtual QVariant reportValue(const QString &name) const;
    // 输出: the grid's export (ExportGrid) with the default file name and the first filter;
    // nothing without a default file name.
    virtual void exportList();
    // Enter on focus before it moves on (a search box that runs the query); true when used.
    virtual bool enterKey(QWidget *focus);

    // The logged-in operator's department restriction on column, for buildQuery.
    static SqlPart deptCondition(const QString &column = QStringLiteral("F_dept"));
    // Shows dlg modally, in add mode or in edit mode on the current row with the list's rows to
    // walk, then reopens the list on the last saved record (or on the record the dialog showed
    // last). Returns the dialog's result.
    int runEditDialog(TEditDialog *dlg, bool add);

    void showEvent(QShowEvent *event) override;

private:
    bool handleKey(QWidget *focus, QKeyEvent *event);
    bool trigger(Command command);
    void updateCommands();
    void updateCount();
    int rowOfId(qint64 id) const;

    DBGridEh *m_grid;
    QToolBar *m_toolBar;
    QWidget *m_filterArea;
    QWidget *m_sideArea;
    QSplitter *m_splitter;
    QStatusBar *m_statusBar;
    QList<QLabel *> m_panels;
    QList<QAction *> m_actions;
    QString m_countCaption;
    QString m_keyField;
    QString m_layoutKey;
    QString m_reportTemplate;
    QStringList m_reportVariables;
    QString m_exportFileName;
    bool m_opened = false;
};
