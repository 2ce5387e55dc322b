#pragma once
#include <QStringList>

class QBoxLayout;
class QComboBox;
class QPushButton;
class QTableWidget;

// The value list beside the employee lists: a two-column table of attribute values, the
// attribute choice below it and the button "刷新列表".
struct ValueListPanel {
    QTableWidget *vleList = nullptr;
    QComboBox *cbbListType = nullptr;
    QPushButton *Button1 = nullptr;
};

// Creates the panel's widgets into layout; attributes fill the choice box.
ValueListPanel createValueListPanel(QBoxLayout *layout, const QStringList &attributes, int firstColumnWidth);
