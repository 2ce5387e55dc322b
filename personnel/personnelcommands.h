#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace personnel {

// Opens one command's window; owner is the main window.
using Opener = std::function<void(QWidget *owner)>;

// Hands every command window of the personnel records to add: 201 员工档案.
void registerCommands(const std::function<void(const QString &code, Opener opener)> &add);

} // namespace personnel
