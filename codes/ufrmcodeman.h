#pragma once
#include "codelist.h"

#include <QDialog>

class DBGridEh;
class QAction;
class QButtonGroup;
class QLabel;
class QStatusBar;
class QToolBar;
class QToolButton;

// The options window "选项设置管理": the names of the 25 kinds of t_code, one tab button per kind.
// Browsing shows the kind's names read-only; 新增 and 修改 switch to editing, where the names are
// typed into the grid and kept in memory until 保存 stores them all at once or 取消 drops them.
// 删除 is stored at once.
class TFrmCodeMan : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCodeMan(QWidget *parent = nullptr);

    // Shows the kind at index of codeKinds() (ignored while editing).
    void selectKind(int index);
    int kindIndex() const { return m_kindIndex; }
    QString kind() const;
    bool isEditing() const { return m_editing; }
    const CodeList &codeList() const { return m_list; }

    // The window's commands (tool bar and keys).
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnSaveClick();
    void btnCancelClick();
    void btnPrintClick();
    void btnRefreshClick();
    // In editing, moves to a new empty row after the last one (an empty new row is reused).
    void appendRow();

    QToolBar *toolBar = nullptr;
    QAction *actAdd = nullptr;
    QAction *actEdit = nullptr;
    QAction *actDelete = nullptr;
    QAction *actSave = nullptr;
    QAction *actCancel = nullptr;
    QAction *actPrint = nullptr;
    QAction *actRefresh = nullptr;
    QAction *actExit = nullptr;
    // The kind tabs, named after their kind (tduty, tminzu, ...), in tab order.
    QList<QToolButton *> kindTabs;
    DBGridEh *DBGridEh1 = nullptr;
    QStatusBar *statusBar = nullptr;
    QList<QLabel *> statusPanels;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool handleKey(QWidget *focus, QKeyEvent *event);
    void setEditing(bool on);
    // Shows the list's rows in the grid with the row of id current (the row at row otherwise).
    void showRows(qint64 currentId, int row = 0);
    qint64 currentId() const;
    int rowOfId(qint64 id) const;
    void editCell(int row);
    static bool trigger(QAction *action);

    CodeList m_list;
    QButtonGroup *m_tabs = nullptr;
    int m_kindIndex = -1;
    bool m_editing = false;
};
