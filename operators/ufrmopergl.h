#pragma once
#include <QDialog>

class QMenu;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The operator management window "操作员管理": the list of operators and the list of roles on
// two tabs, with 新增 (Ctrl+A), 修改 (Ctrl+E, double-click), 删除 (Delete key) and 关闭, and the
// same three commands on a pop-up menu of both lists. The 删除 button is shown to the super user
// only. Changes take effect at each operator's next login.
class TFrmOperGl : public QDialog {
    Q_OBJECT
public:
    explicit TFrmOperGl(QWidget *parent = nullptr);

    QTabWidget *tabs() const { return m_tabs; }
    QTreeWidget *operList() const { return m_operList; }
    QTreeWidget *roleList() const { return m_roleList; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *editButton() const { return m_edit; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *closeButton() const { return m_close; }
    QMenu *popupMenu() const { return m_menu; }
    // True while the operator tab is the current one.
    bool onOperatorTab() const;

    // Fills both lists again and selects the row with code in the current tab's list (without
    // one, or when it is gone, the row at the position of the current one).
    void refreshLists(const QString &code = QString());
    // The code of the current tab's selected row; empty when none is selected.
    QString currentCode() const;
    // Selects the row with code in the current tab's list; false when it is not listed.
    bool selectCode(const QString &code);

    // The commands: a new operator or role (by the current tab), editing the selected one,
    // deleting the selected one after the question.
    void addRecord();
    void editRecord();
    void deleteRecord();

private:
    QTreeWidget *currentList() const;
    QTreeWidget *makeList(const QStringList &titles, const char *name);
    void fillOperators();
    void fillRoles();
    bool handleKey(QWidget *focus, QKeyEvent *event);

    QTabWidget *m_tabs;
    QTreeWidget *m_operList;
    QTreeWidget *m_roleList;
    QPushButton *m_add;
    QPushButton *m_edit;
    QPushButton *m_delete;
    QPushButton *m_close;
    QMenu *m_menu;
};
