#include "valuelistpanel.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

ValueListPanel createValueListPanel(QBoxLayout *layout, const QStringList &attributes, int firstColumnWidth) {
    ValueListPanel p;
    p.vleList = new QTableWidget(0, 2);
    p.vleList->setObjectName(QStringLiteral("vleList"));
    p.vleList->verticalHeader()->hide();
    p.vleList->setSelectionBehavior(QAbstractItemView::SelectRows);
    p.vleList->setSelectionMode(QAbstractItemView::SingleSelection);
    p.vleList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    p.vleList->setColumnWidth(0, firstColumnWidth);
    p.vleList->horizontalHeader()->setStretchLastSection(true);
    p.cbbListType = new QComboBox;
    p.cbbListType->setObjectName(QStringLiteral("cbbListType"));
    p.cbbListType->addItems(attributes);
    p.Button1 = new QPushButton(QStringLiteral("刷新列表"));
    p.Button1->setObjectName(QStringLiteral("Button1"));
    p.Button1->setAutoDefault(false);
    layout->addWidget(p.vleList, 1);
    layout->addWidget(p.cbbListType);
    layout->addWidget(p.Button1);
    return p;
}
