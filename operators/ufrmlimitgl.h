#pragma once
#include "opermanager.h"

#include <QDialog>

class CheckListBox;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

// The editor of one operator ("用户权限") or one role with its rights ("角色权限"). 保存 checks
// and writes the record in one transaction: a new record's form is then emptied for the next
// one, an edited one closes the editor with OK. 退出 closes it. The controls carry the names
// edtCode, edtName, edtPassWord, cbbPart, memMem, chkNew, chkEdit, chkDel, chkCheck, chkSet,
// rbDept0..rbDept2, edtDept, btnDept (operator); edtPartCode, edtPartName, memPartMem,
// lstLimits, btnAll, btnClear (role); chkFlag, btnSave, btnExit, tabs.
class TFrmLimitGl : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Operator, Role };

    // A new operator or role when editing is false; otherwise the one with code.
    TFrmLimitGl(Kind kind, const QString &code, bool editing, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    bool isEditing() const { return m_editing; }
    // False when the record to edit could not be read.
    bool loaded() const { return m_loaded; }
    // The code of the last record saved while the editor was open; empty when none was.
    QString savedCode() const { return m_savedCode; }

    // What 保存 does; true when the record was saved.
    bool save();

private:
    QWidget *buildOperatorPage();
    QWidget *buildRolePage();
    QWidget *buildRightsPage();
    void loadOperatorForm(const OperatorData &d);
    void loadRoleForm(const RoleData &d);
    void clearForNew();
    void updateDeptField();
    void pickDepartments();
    bool saveOperatorForm();
    bool saveRoleForm();
    void focusOn(QWidget *page, QWidget *field);

    Kind m_kind;
    bool m_editing;
    bool m_loaded = true;
    qint64 m_id = -1;
    QString m_savedCode;

    QTabWidget *m_tabs = nullptr;
    QCheckBox *chkFlag = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnExit = nullptr;

    QWidget *m_operPage = nullptr;
    QLineEdit *edtCode = nullptr;
    QLineEdit *edtName = nullptr;
    QLineEdit *edtPassWord = nullptr;
    QComboBox *cbbPart = nullptr;
    QPlainTextEdit *memMem = nullptr;
    QCheckBox *chkNew = nullptr;
    QCheckBox *chkEdit = nullptr;
    QCheckBox *chkDel = nullptr;
    QCheckBox *chkCheck = nullptr;
    QCheckBox *chkSet = nullptr;
    QButtonGroup *m_deptGroup = nullptr;
    QLabel *lblDept = nullptr;
    QLineEdit *edtDept = nullptr;
    QToolButton *btnDept = nullptr;

    QWidget *m_rolePage = nullptr;
    QLineEdit *edtPartCode = nullptr;
    QLineEdit *edtPartName = nullptr;
    QPlainTextEdit *memPartMem = nullptr;

    QWidget *m_rightsPage = nullptr;
    CheckListBox *lstLimits = nullptr;
    QPushButton *btnAll = nullptr;
    QPushButton *btnClear = nullptr;
};

// Opens the editor on the operator with code (editing) or on a new operator. Returns the code of
// the operator saved last, or empty text when nothing was saved. "000" is refused with
// "此用户为系统专用用户，不能被编辑！"; a record that cannot be read with "请选择要修改的行！".
QString ShowOperatorEditor(const QString &code, bool editing, QWidget *parent = nullptr);
// The same for a role.
QString ShowRoleEditor(const QString &code, bool editing, QWidget *parent = nullptr);
