#pragma once
#include "core/ueditdialog.h"
#include "empstore.h"

#include <QList>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;
class TDateTickEdit;

// The employee editor "员工档案资料": adds or edits one employee of t_employee with its photo,
// contract summary and leaving data. It generates codes on request ("自动"), refuses duplicate
// codes and names, and when an employee's code, name or department changes carries the change
// into the copies in the sub-record and payroll tables, all in one transaction.
class TfrmEmpEdit : public TEditDialog {
    Q_OBJECT
public:
    explicit TfrmEmpEdit(QWidget *parent = nullptr);
    ~TfrmEmpEdit() override;

    // Opened from the employee selection dialog: no "连续新增", no navigator, an empty form;
    // the dialog closes after one save.
    void setQuickAdd();
    bool isQuickAdd() const { return m_quickAdd; }

    // Puts a newly generated code into the code box; false (after a message) when none can be
    // generated, "自动" is then unticked.
    bool generateCode();
    // Loads the photo from a picture file; on failure says so and keeps the current photo.
    bool loadPhotoFile(const QString &path);
    // "清空显示": no photo, no photo path.
    void clearPhoto();
    // "载入图片" (also a double-click on the photo): the picture window chooses the photo file.
    void choosePhoto();
    empstore::Photo photo() const { return m_photo; }
    QString photoPath() const { return m_photoPath; }

    // The state the "自动" box starts with in a new add dialog: the last add's choice, also kept
    // in config.ini ([sys] bZDcode) across program runs.
    static bool rememberedAutoCode();

    // The form's values as they would be saved.
    empstore::Employee formValues() const;

    QTabWidget *tabs;
    QLineEdit *edtcode;
    QCheckBox *cbZDEmpCode;
    QLineEdit *edtname;
    QComboBox *cbbDept;
    QComboBox *cbbduty;
    QRadioButton *rbMale, *rbFemale;
    QRadioButton *rbMarried, *rbSingle;
    QRadioButton *rbInsured, *rbUninsured;
    QComboBox *cbbXueliLB, *cbbXueli, *cbbJishuZC;
    QLineEdit *edtXuexiao, *edtZhuanye;
    TDateTickEdit *dtpbiYe;
    QLineEdit *edtjiguan;
    QComboBox *cbbminzu;
    QLineEdit *edthomephone, *edtmovePhone, *edtAddress;
    TDateTickEdit *dtpBirthday;
    QLineEdit *edtSFZcode;
    TDateTickEdit *dtpBegin;
    QComboBox *cbbLaiyuan;
    QLineEdit *edtGongziCode;
    QComboBox *cbbZZmianmao, *cbbPYxingshi;
    QLineEdit *ceGongZi;
    QLineEdit *edtDAcode;
    TDateTickEdit *dtpQDdate;
    QComboBox *cbbHTqixian;
    TDateTickEdit *dtpEndDate;
    QPlainTextEdit *Memo1, *Memo2;
    QCheckBox *cbUseFlag;
    QComboBox *cbbLZtype;
    TDateTickEdit *dtpLZdate;
    QLineEdit *edtLZmem;
    QLabel *Image1;
    QPushButton *BitBtn1, *BitBtn2;
    QCheckBox *CheckBox2;

protected:
    void loadRecord(qint64 id) override;
    void clearForNew() override;
    bool validate() override;
    qint64 save(Transaction &t) override;
    void focusFirstField() override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setPhoto(const empstore::Photo &photo, const QString &path);
    void showLeavingFields();
    void afterSave();
    QList<QWidget *> m_leaving;
    QList<QPair<QComboBox *, QString>> m_codeCombos;
    bool m_quickAdd = false;
    bool m_fresh = true;
    bool m_shownOnce = false;
    empstore::Photo m_photo;
    QString m_photoPath;
    QString m_loadedCode, m_loadedName, m_loadedDept;
};

// Opens the editor for a new employee (add) or for ids[index] with the navigator over ids
// (edit). The key of the last employee saved; 0 when nothing was saved.
qint64 RunEmpEdit(QWidget *owner, bool add, const QList<qint64> &ids, int index);
// Opens the editor in quick-add mode for the employee selection dialog. The new employee's
// key; 0 when nothing was saved.
qint64 RunEmpQuickAdd(QWidget *owner);
