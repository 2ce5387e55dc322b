#pragma once
#include <QDialog>
#include <QIcon>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The department tree window "员工部门资料": adds, renames and deletes the nodes of t_treecode
// and, in picking mode, returns the path of the chosen department.
class TFrmTreeCodeMan : public QDialog {
    Q_OBJECT
public:
    explicit TFrmTreeCodeMan(QWidget *parent = nullptr);

    // Loads the department tree with its root expanded; mode 2 is the picking mode.
    void ShowTreeCodes(int mode);
    // Shows 确定 and 取消 and runs the window modally with the nodes of path selected. The path
    // of the node chosen with 确定, or path unchanged when cancelled.
    QString PickTreePath(const QString &path);
    // Selects and expands every node whose path is path; the root when none is.
    void selectPath(const QString &path);

    // The window's commands (buttons, pop-up menu and keys).
    void btnAddSiblingClick();
    void btnAddChildClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnOkClick();

    int mode() const { return m_mode; }
    QString kind() const { return m_kind; }
    // The node whose path is path, or nullptr.
    QTreeWidgetItem *findPath(const QString &path) const;
    // The image index a node shows (0 root, 1 top level with children, 2 closed, 3 selected).
    static int nodeImage(const QTreeWidgetItem *item, bool selected);

    QTreeWidget *tvCodes = nullptr;
    QPushButton *btnAddSibling = nullptr;
    QPushButton *btnAddChild = nullptr;
    QPushButton *btnDelete = nullptr;
    QPushButton *btnEdit = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString askName(const QString &caption, const QString &value = QString());
    void addNode(QTreeWidgetItem *parent, const QString &code, const QString &name);
    void showImage(QTreeWidgetItem *item);
    void showImages();
    void itemDoubleClicked(QTreeWidgetItem *item);

    int m_mode = 1;
    QString m_kind;
    QIcon m_images[4];
};

namespace codes {
// Opens the department tree in picking mode over parent: the chosen department's path, or path
// unchanged when the user cancels.
QString PickTreePath(QWidget *parent, const QString &path);
} // namespace codes
