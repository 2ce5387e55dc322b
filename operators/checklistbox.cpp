#include "checklistbox.h"

#include <QHeaderView>
#include <QKeyEvent>

CheckListBox::CheckListBox(int columns, QWidget *parent) : QTableWidget(parent), m_columns(qMax(1, columns)) {
    setColumnCount(m_columns);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
}

void CheckListBox::setNames(const QStringList &names) {
    m_names = names;
    clearContents();
    const int rows = (names.size() + m_columns - 1) / m_columns;
    setRowCount(rows);
    for (int i = 0; i < names.size(); ++i) {
        auto *item = new QTableWidgetItem(names.at(i));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        setItem(i % rows, i / rows, item);
    }
    resizeRowsToContents();
    if (!names.isEmpty())
        setCurrentCell(0, 0);
}

QTableWidgetItem *CheckListBox::itemOf(const QString &name) const {
    const int i = m_names.indexOf(name);
    if (i < 0)
        return nullptr;
    const int rows = rowCount();
    return item(i % rows, i / rows);
}

QStringList CheckListBox::checkedNames() const {
    QStringList out;
    for (const QString &name : m_names)
        if (isChecked(name))
            out << name;
    return out;
}

bool CheckListBox::isChecked(const QString &name) const {
    const QTableWidgetItem *it = itemOf(name);
    return it && it->checkState() == Qt::Checked;
}

bool CheckListBox::setChecked(const QString &name, bool on) {
    QTableWidgetItem *it = itemOf(name);
    if (!it)
        return false;
    it->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    return true;
}

void CheckListBox::setCheckedNames(const QStringList &names) {
    for (const QString &name : m_names)
        setChecked(name, names.contains(name));
}

void CheckListBox::setAllChecked(bool on) {
    for (const QString &name : m_names)
        setChecked(name, on);
}

void CheckListBox::keyPressEvent(QKeyEvent *event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        // the next cell that holds a name, in reading order, wrapping to the top
        const int cells = rowCount() * columnCount();
        int pos = currentRow() < 0 ? -1 : currentRow() * columnCount() + currentColumn();
        for (int step = 0; step < cells; ++step) {
            pos = (pos + 1) % cells;
            if (item(pos / columnCount(), pos % columnCount())) {
                setCurrentCell(pos / columnCount(), pos % columnCount());
                break;
            }
        }
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
