#include "personnelcommands.h"

namespace personnel {

void registerCommands(const std::function<void(const QString &code, Opener opener)> &add) {
    Q_UNUSED(add);
    // The archive window registers itself here (201).
}

} // namespace personnel
