#pragma once
#include <QDialog>
#include <QList>
#include <QVariantList>

class QCheckBox;
class QKeyEvent;
class QPushButton;
class QToolButton;
class Transaction;

// The base of every edit dialog. Its caption is "<record> - 新增" or "<record> - 修改"; under the
// fields the dialog fills (body()) a bottom bar holds the box "连续新增" (add mode only), a record
// navigator 首项 前项 后项 末项 over the caller's rows (edit mode only), "确定" and "取消".
//
// 确定 (also Ctrl+S) runs validate(), then save() inside one transaction on the program's
// connection, and commits. A failed save is rolled back, "保存失败，请检测数据库连接！" is shown
// and the dialog stays open with what was typed. After a save the dialog closes with OK, except
// in add mode with "连续新增" ticked, where the form is emptied for the next record. savedId()
// tells the caller which record to reopen its list on. 取消 and Esc close with Cancel. Enter
// moves to the next control, except in multi-line boxes.
class TEditDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Edit };
    // save() results besides a saved key.
    static constexpr qint64 kSaveFailed = -1;  // rolled back; the base shows the failure message
    static constexpr qint64 kSaveRefused = -2; // rolled back; the dialog already said why

    explicit TEditDialog(const QString &recordName, QWidget *parent = nullptr);
    ~TEditDialog() override;

    // The area above the bottom bar for the record's fields (give it a layout).
    QWidget *body() const { return m_body; }
    QCheckBox *continuousBox() const { return m_continuous; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QToolButton *firstButton() const { return m_first; }
    QToolButton *priorButton() const { return m_prior; }
    QToolButton *nextButton() const { return m_next; }
    QToolButton *lastButton() const { return m_last; }
    QString recordName() const { return m_recordName; }

    // Add mode: the caption, "连续新增" shown, the navigator hidden, the form emptied.
    void setAddMode();
    // Edit mode over the caller's rows: the caption, the navigator shown, "连续新增" hidden, the
    // record ids[index] loaded.
    void setEditMode(const QList<qint64> &ids, int index);
    Mode mode() const { return m_mode; }
    bool isAddMode() const { return m_mode == Mode::Add; }

    // The record shown in edit mode; -1 in add mode.
    qint64 currentId() const;
    int currentIndex() const { return m_index; }
    QList<qint64> rowIds() const { return m_ids; }
    // The key of the last record saved while the dialog was open; -1 when nothing was saved.
    qint64 savedId() const { return m_savedId; }
    int saveCount() const { return m_saveCount; }

    // What 确定 does; true when the record was saved.
    bool saveRecord();
    // The navigator (edit mode): loads the record at the new position.
    void goFirst();
    void goPrior();
    void goNext();
    void goLast();

signals:
    // A record was saved and committed.
    void recordSaved(qint64 id);

protected:
    // Fills the form from the stored record id (edit mode).
    virtual void loadRecord(qint64 id) = 0;
    // Empties the form for a new record (add mode, also after each continuous add).
    virtual void clearForNew() = 0;
    // Checks the form before saving; shows its own message, puts the focus on the faulty box
    // and returns false to stay.
    virtual bool validate() { return true; }
    // Writes the record within t (do not commit); returns the saved record's key, kSaveFailed
    // when a statement failed, or kSaveRefused after a message of its own.
    virtual qint64 save(Transaction &t) = 0;
    // Enter on focus before it moves on (a code box that looks its employee up); true when used.
    virtual bool enterKey(QWidget *focus);
    // Puts the focus on the first field (after a continuous add).
    virtual void focusFirstField();

    void showEvent(QShowEvent *event) override;

    // Statements for save(): run sql with binds on the program's connection without a message;
    // false when it failed.
    static bool execSql(const QString &sql, const QVariantList &binds = {});
    // Runs an insert and returns the new row's key; kSaveFailed when it failed.
    static qint64 insertSql(const QString &sql, const QVariantList &binds = {});

private:
    bool handleKey(QWidget *focus, QKeyEvent *event);
    void moveTo(int index);
    void updateNavigator();

    QString m_recordName;
    QWidget *m_body;
    QCheckBox *m_continuous;
    QToolButton *m_first;
    QToolButton *m_prior;
    QToolButton *m_next;
    QToolButton *m_last;
    QWidget *m_navigator;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    Mode m_mode = Mode::Add;
    QList<qint64> m_ids;
    int m_index = -1;
    qint64 m_savedId = -1;
    int m_saveCount = 0;
};
