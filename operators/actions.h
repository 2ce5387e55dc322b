#pragma once
#include <QSet>
#include <QString>
#include <QVector>

// One command of the main window: a three-digit action code whose first digit names its menu.
struct ActionInfo {
    QString code;
    QString menu;        // 系统管理, 人事管理, 工资管理, 统计报表, 数据维护
    QString caption;     // shown on desktop buttons
    QString menuCaption; // shown in the menu (empty: the action has no menu item)
};

// The 51 actions of the rights catalogue, in code order.
const QVector<ActionInfo> &actionCatalog();
// The catalogue entry of code, or nullptr.
const ActionInfo *findAction(const QString &code);
// The action codes the operator may use: all for the super user "000", otherwise those of the
// role's PartLimit rows.
QSet<QString> permittedActions(const QString &operCode, const QString &partCode);
// The top-level menus that keep at least one visible action.
QSet<QString> visibleMenus(const QSet<QString> &visibleActions);
