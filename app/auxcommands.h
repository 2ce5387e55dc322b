#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

// Commands of the main window that are not windows of their own, and the shared steps of the
// commands whose windows need more than "create, show modally, free".

// True when the automatic backup of mode (config.ini [config] ibak: 0 never, 1 every start,
// 2 Mondays, 3 the first day of a month) is due on date.
bool IsBackupDue(int mode, const QDate &date);
// Reads the backup mode from config.ini and runs TdmData::AutoBackup(today) when it is due.
void RunStartupBackup(const QDate &today);

// The message shown for a command whose window is not part of this build.
QString PendingCommandMessage(const QString &functionName);

// The newest monthly wage table ("select max(F_TableName) from wg_Month"); empty when none.
QString NewestWageTable();

// What command 305 needs from the monthly wage window and the new-table dialog.
struct MonthWageCommand {
    std::function<void(const QString &table)> showOn; // opens the wage window on table (modal)
    std::function<bool()> createTable;                // the new-table dialog; true when closed with OK
    std::function<void()> resetPosition;              // puts the wage window back at its designed place
};
// Command 305: opens the wage window on the newest table; when there is none, first offers the
// new-table dialog and opens on the table it made. Nothing is shown when still no table exists.
void RunMonthWageCommand(const MonthWageCommand &steps);
// Command 306: opens the cash window (showOn) on the newest wage table; nothing when there is none.
void RunCashCommand(const std::function<void(const QString &table)> &showOn);

// The statements that remove the blank rows an import (504..507) leaves; empty for other codes.
QStringList ImportCleanupStatements(const QString &code);
// Runs after the handler of code has returned: the import clean-up for 504..507.
void AfterCommand(const QString &code);

// The calculator and text-editor programs looked for on PATH, in order of preference.
const QStringList &CalculatorPrograms();
const QStringList &EditorPrograms();
// The full path of the first of names found on the search path (PATH when paths is empty);
// empty when none is found.
QString FindProgram(const QStringList &names, const QStringList &paths = {});

// 计 算 器 / 记 事 本: starts the first program found; a message when none is found or it fails.
bool StartCalculator();
bool StartEditor();
// 升级工具: starts "UpGrade" from folder (the program folder). False, after a message, when it is
// missing or cannot be started; the caller ends the program on true.
bool StartUpgrade(const QString &folder);
// 软件帮助: opens help.html of folder in the browser; a message when missing or it cannot be opened.
bool OpenHelp(const QString &folder);
// 官方网站: opens the product's web site; a message when no browser takes it.
bool OpenWebSite();
