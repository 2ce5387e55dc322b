#include "personnelcommands.h"

#include "ufrmhrmman.h"

#include "core/keltrin.h"

namespace personnel {

void registerCommands(const std::function<void(const QString &code, Opener opener)> &add) {
    add(QStringLiteral("201"), [](QWidget *owner) {
        TfrmHRMman w(owner);
        DispFormPos(&w, 2);
        w.exec();
    });
}

} // namespace personnel
