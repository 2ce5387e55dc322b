#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace operators {

// Opens one command's window; owner is the main window.
using Opener = std::function<void(QWidget *owner)>;

// Hands every command window of operator management to add: 102 用户密码, 103 用户权限.
void registerCommands(const std::function<void(const QString &code, Opener opener)> &add);

} // namespace operators
