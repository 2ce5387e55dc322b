#pragma once
#include <QStringList>
#include <QTableWidget>

// A list of names with a tick box each, laid out in a fixed number of columns (filled column by
// column, as a paper list is read). A click on the box or Space ticks and unticks; Enter moves to
// the next column, after the last one to the first column of the next line.
class CheckListBox : public QTableWidget {
    Q_OBJECT
public:
    explicit CheckListBox(int columns, QWidget *parent = nullptr);

    // Replaces the names; none is ticked.
    void setNames(const QStringList &names);
    QStringList names() const { return m_names; }
    // The ticked names in list order.
    QStringList checkedNames() const;
    bool isChecked(const QString &name) const;
    // Ticks or unticks name; false when the list has no such name.
    bool setChecked(const QString &name, bool on);
    // Ticks exactly the given names.
    void setCheckedNames(const QStringList &names);
    void setAllChecked(bool on);
    // The cell showing name; nullptr when there is none.
    QTableWidgetItem *itemOf(const QString &name) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_columns;
    QStringList m_names;
};
