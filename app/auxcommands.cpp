#include "auxcommands.h"

#include "appinfo.h"
#include "core/configini.h"
#include "core/datadm.h"
#include "core/keltrin.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool IsBackupDue(int mode, const QDate &date) {
    switch (mode) {
    case 1:
        return true;
    case 2:
        return date.dayOfWeek() == Qt::Monday;
    case 3:
        return date.day() == 1;
    default:
        return false;
    }
}

void RunStartupBackup(const QDate &today) {
    const int mode = configIni().readInteger(QStringLiteral("config"), QStringLiteral("ibak"), 0);
    if (IsBackupDue(mode, today))
        TdmData::AutoBackup(today);
}

QString PendingCommandMessage(const QString &functionName) {
    return QStringLiteral("“") + functionName + QStringLiteral("”功能尚在建设中，将在后续版本提供。");
}

QString NewestWageTable() {
    return TdmData::LookupStr(QStringLiteral("select max(F_TableName) from wg_Month")).trimmed();
}

void RunMonthWageCommand(const MonthWageCommand &steps) {
    QString table = NewestWageTable();
    if (table.isEmpty()) {
        if (!steps.createTable || !steps.createTable())
            return;
        if (steps.resetPosition)
            steps.resetPosition();
        table = NewestWageTable();
        if (table.isEmpty())
            return;
    }
    if (steps.showOn)
        steps.showOn(table);
}

void RunCashCommand(const std::function<void(const QString &table)> &showOn) {
    const QString table = NewestWageTable();
    if (!table.isEmpty() && showOn)
        showOn(table);
}

QStringList ImportCleanupStatements(const QString &code) {
    if (code == QLatin1String("504"))
        return {QStringLiteral("delete from T_employee where F_code = '' and F_name = ''")};
    if (code == QLatin1String("505"))
        return {QStringLiteral("delete from wg_ShengChanRec where F_EmpCode = '' and F_EmpName = ''")};
    if (code == QLatin1String("506"))
        return {QStringLiteral("delete from wg_shengchanJSrec where F_EmpCode = '' and F_EmpName = ''")};
    if (code == QLatin1String("507"))
        return {QStringLiteral("delete from wg_WorkingProduct where F_gxCode = '' and F_name = ''"),
                QStringLiteral("update wg_WorkingProduct set F_code = F_goodName || F_gxCode")};
    return {};
}

void AfterCommand(const QString &code) {
    for (const QString &sql : ImportCleanupStatements(code))
        if (!TdmData::ExecSql(sql))
            break;
}

const QStringList &CalculatorPrograms() {
    static const QStringList list{QStringLiteral("gnome-calculator"),
                                  QStringLiteral("kcalc"),
                                  QStringLiteral("galculator"),
                                  QStringLiteral("qalculate-gtk"),
                                  QStringLiteral("qalculate-qt"),
                                  QStringLiteral("mate-calc"),
                                  QStringLiteral("xcalc")};
    return list;
}

const QStringList &EditorPrograms() {
    static const QStringList list{QStringLiteral("gedit"),    QStringLiteral("gnome-text-editor"),
                                  QStringLiteral("kate"),     QStringLiteral("kwrite"),
                                  QStringLiteral("mousepad"), QStringLiteral("xed"),
                                  QStringLiteral("pluma"),    QStringLiteral("featherpad"),
                                  QStringLiteral("leafpad"),  QStringLiteral("xedit")};
    return list;
}

QString FindProgram(const QStringList &names, const QStringList &paths) {
    for (const QString &name : names) {
        const QString found = QStandardPaths::findExecutable(name, paths);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

namespace {

bool startFirstOf(const QStringList &names, const QString &what) {
    const QString program = FindProgram(names);
    if (program.isEmpty()) {
        ShowMess(QStringLiteral("没有找到可用的") + what + QStringLiteral("程序，请先安装以下任一程序：\n") +
                     names.join(QStringLiteral("、")),
                 2);
        return false;
    }
    if (!QProcess::startDetached(program, {})) {
        ShowMess(QStringLiteral("无法启动") + what + QStringLiteral("程序：") + program, 3);
        return false;
    }
    return true;
}

} // namespace

bool StartCalculator() {
    return startFirstOf(CalculatorPrograms(), QStringLiteral("计算器"));
}

bool StartEditor() {
    return startFirstOf(EditorPrograms(), QStringLiteral("文本编辑"));
}

bool StartUpgrade(const QString &folder) {
    const QString program = QDir(folder).filePath(QStringLiteral("UpGrade"));
    const QFileInfo info(program);
    if (!info.exists() || !info.isExecutable()) {
        ShowMess(QStringLiteral("没有找到升级程序 UpGrade（应在程序目录 ") +
                     QDir::toNativeSeparators(folder) + QStringLiteral(" 中），无法升级。"),
                 2);
        return false;
    }
    if (!QProcess::startDetached(program, {}, folder)) {
        ShowMess(QStringLiteral("无法启动升级程序：") + QDir::toNativeSeparators(program), 3);
        return false;
    }
    return true;
}

bool OpenHelp(const QString &folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("help.html"));
    if (!QFileInfo::exists(file)) {
        ShowMess(QStringLiteral("没有找到帮助文件：") + QDir::toNativeSeparators(file), 2);
        return false;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        ShowMess(
            QStringLiteral("无法打开帮助文件，请检查是否安装了浏览器：") + QDir::toNativeSeparators(file), 3);
        return false;
    }
    return true;
}

bool OpenWebSite() {
    if (!QDesktopServices::openUrl(QUrl(AppWebSite))) {
        ShowMess(QStringLiteral("无法打开网址，请检查是否安装了浏览器：") + AppWebSite, 3);
        return false;
    }
    return true;
}
