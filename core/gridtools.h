#pragma once
#include <QDialog>
#include <QList>
#include <QStringList>

class DBGridEh;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

// The field list: one ticked line per visible grid column; 确定 shows exactly the ticked columns.
class TFrmDispFieldXZ : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDispFieldXZ(DBGridEh *grid, QWidget *parent = nullptr);
    // Shows the field list for grid; true (and the columns shown as ticked) on 确定.
    static bool ChooseColumns(DBGridEh *grid);

    QListWidget *list() const { return m_list; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    // Makes every column visible exactly when its line is ticked.
    void applyToGrid();

private:
    DBGridEh *m_grid;
    QListWidget *m_list;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

// One grid column as the sort dialog knows it.
struct MyRecord {
    QString fieldName; // lower case
    QString title;
    QString spare; // stays empty
};

// The sort dialog's record of every grid column, in column order.
QList<MyRecord> SortRecordsOf(const DBGridEh *grid);
// The direction after a double click: "" -> "升序" -> "降序" -> "".
QString NextSortDirection(const QString &direction);
// The sort text of the dialog's rows (titles and directions, top to bottom): each row with
// "升序" or "降序" adds the field of the first record with that title, " ASC" or " DESC" and ",".
// Empty when no row has a direction.
QString BuildSortText(const QStringList &titles, const QStringList &directions,
                      const QList<MyRecord> &records);

// The sort dialog: the grid's column titles with a direction each, in priority order.
class TfrmRowArrangeGl : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRowArrangeGl(DBGridEh *grid, QWidget *parent = nullptr);
    // Shows the dialog for grid; the sort text on 确定, empty text on 取消.
    static QString ChooseSortOrder(DBGridEh *grid);

    QTreeWidget *list() const { return m_list; }
    QPushButton *upButton() const { return m_up; }
    QPushButton *downButton() const { return m_down; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QStringList titles() const;
    QStringList directions() const;
    void setDirection(int row, const QString &direction);
    void cycleDirection(int row);
    // Swap the current row with its neighbour and follow it (nothing at the edge).
    void moveUp();
    void moveDown();
    // The sort text of the rows as they stand.
    QString sortText() const;

private:
    void swapRows(int a, int b);
    QList<MyRecord> m_records;
    QTreeWidget *m_list;
    QPushButton *m_up;
    QPushButton *m_down;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

// The batch edit dialog: asks for one value to write into the current column of several rows.
class TDLGeditCurList : public QDialog {
    Q_OBJECT
public:
    explicit TDLGeditCurList(QWidget *parent = nullptr);
    // The typed text on 确定, empty text on 取消.
    static QString AskColumnValue(QWidget *parent = nullptr);

    QLineEdit *edit() const { return m_edit; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QLineEdit *m_edit;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
