#include "actions.h"

#include "core/database.h"
#include "core/keltrin.h"

#include <QSqlQuery>

const QVector<ActionInfo> &actionCatalog() {
    static const QVector<ActionInfo> list = [] {
        struct Row {
            const char *code, *caption, *menuCaption;
        };
        static const Row rows[] = {
            {"101", "公司信息", "公司信息资料"},
            {"102", "用户密码", "更改用户密码"},
            {"103", "用户权限", "用户权限设置"},
            {"104", "选项设置", "选项设置"},
            {"105", "工种设置", "工种设置"},
            {"106", "系统当前配置", ""},
            {"201", "员工档案", "员工档案管理"},
            {"202", "员工合同", "员工合同管理"},
            {"203", "员工培训", "员工培训管理"},
            {"204", "员工考评", "员工考评管理"},
            {"205", "员工调动", "员工调动管理"},
            {"206", "员工奖惩", "员工奖惩管理"},
            {"207", "员工调薪", "员工调薪管理"},
            {"208", "保险管理", "员工保险管理"},
            {"209", "离职管理", "员工离职管理"},
            {"210", "暂住证", "员工暂住证管理"},
            {"211", "计生证", "员工计生证管理"},
            {"212", "员工信息分析图表", "员工信息分析图表"},
            {"213", "员工生日提醒", "员工生日提醒"},
            {"214", "员工档案统计列表", "员工档案统计列表"},
            {"215", "员工合同提醒", "员工合同提醒"},
            {"301", "生产计件", "生产计件管理"},
            {"302", "生产计时", "生产计时管理"},
            {"303", "应扣管理", "应扣项目管理"},
            {"304", "应发管理", "应发项目管理"},
            {"305", "工资核算", "工资核算管理"},
            {"306", "零币发放", "零币发放管理"},
            {"307", "工资项目", "工资项目设置"},
            {"308", "产品工序", "产品工序定义"},
            {"309", "产品工序统计", "产品工序统计"},
            {"401", "生产计件明细统计", "生产计件明细统计"},
            {"402", "生产计件汇总统计", "生产计件汇总统计"},
            {"403", "生产计时明细统计", "生产计时明细统计"},
            {"404", "生产计时汇总统计", "生产计时汇总统计"},
            {"405", "工资核算明细统计", "工资核算明细统计"},
            {"406", "工资核算汇总统计", "工资核算汇总统计"},
            {"407", "员工工资汇总统计", "员工工资汇总统计"},
            {"408", "部门工资汇总统计", "部门工资汇总统计"},
            {"409", "员工工资年报统计", "员工工资年报统计"},
            {"410", "部门工资年报统计", "部门工资年报统计"},
            {"411", "员工工资台帐汇总", "员工工资台帐汇总"},
            {"412", "部门工资台帐汇总", "部门工资台帐汇总"},
            {"413", "员工工资日结明细", "员工工资日结明细"},
            {"414", "员工工资日结汇总", "员工工资日结汇总"},
            {"501", "备份恢复", "数据备份恢复"},
            {"502", "数据清理", "系统数据清理"},
            {"503", "压缩修复", "压缩修复数据"},
            {"504", "导入员工信息", "导入员工信息"},
            {"505", "导入计件记录", "导入计件记录"},
            {"506", "导入计时记录", "导入计时记录"},
            {"507", "导入产品工序", "导入产品工序"},
        };
        static const char *menus[] = {"", "系统管理", "人事管理", "工资管理", "统计报表", "数据维护"};
        QVector<ActionInfo> out;
        for (const Row &r : rows) {
            const QString code = QString::fromUtf8(r.code);
            out.append({code, QString::fromUtf8(menus[code.at(0).digitValue()]), QString::fromUtf8(r.caption),
                        QString::fromUtf8(r.menuCaption)});
        }
        return out;
    }();
    return list;
}

const ActionInfo *findAction(const QString &code) {
    for (const ActionInfo &a : actionCatalog())
        if (a.code == code)
            return &a;
    return nullptr;
}

QSet<QString> permittedActions(const QString &operCode, const QString &partCode) {
    QSet<QString> out;
    if (operCode.trimmed() == QLatin1String("000")) {
        for (const ActionInfo &a : actionCatalog())
            out.insert(a.code);
        return out;
    }
    QSqlQuery q(Database::db());
    q.prepare(QStringLiteral("select F_LmtCode from PartLimit where F_PartCode = ?"));
    q.addBindValue(partCode);
    if (!q.exec()) {
        ShowMess(QStringLiteral("操作失败，请检查数据连接... "), 3);
        return out;
    }
    while (q.next())
        if (findAction(q.value(0).toString()))
            out.insert(q.value(0).toString());
    return out;
}

QSet<QString> visibleMenus(const QSet<QString> &visibleActions) {
    QSet<QString> menus;
    for (const QString &code : visibleActions)
        if (const ActionInfo *a = findAction(code))
            menus.insert(a->menu);
    return menus;
}
