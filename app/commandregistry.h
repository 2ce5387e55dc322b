#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Opens the window of one action code; owner is the main window.
using CommandHandler = std::function<void(QWidget *owner)>;

// Binds an action code to the function that opens its window.
void registerCommand(const QString &code, CommandHandler handler);
// The handler of code, or an empty function when its window is not part of this build.
CommandHandler commandHandler(const QString &code);
// Registers the windows every subsystem offers (called once by the main window).
void registerAllCommands();
