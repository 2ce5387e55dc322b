#include "commandregistry.h"

#include "codes/codescommands.h"
#include "operators/operatorscommands.h"
#include "personnel/personnelcommands.h"

#include <QHash>

namespace {
QHash<QString, CommandHandler> &handlers() {
    static QHash<QString, CommandHandler> map;
    return map;
}
} // namespace

void registerCommand(const QString &code, CommandHandler handler) { handlers().insert(code, std::move(handler)); }

CommandHandler commandHandler(const QString &code) { return handlers().value(code); }

void registerAllCommands() {
    // Each subsystem's windows are bound here as they are built.
    codes::registerCommands(registerCommand);
    operators::registerCommands(registerCommand);
    personnel::registerCommands(registerCommand);
}
