#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace codes {

// Opens one command's window; owner is the main window.
using Opener = std::function<void(QWidget *owner)>;

// Hands every command window of the base codes to add: 101 公司信息, 104 选项设置.
void registerCommands(const std::function<void(const QString &code, Opener opener)> &add);

} // namespace codes
