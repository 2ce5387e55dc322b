#include "codescommands.h"

#include "ufrmcodeman.h"
#include "ufrmuserinfo.h"

namespace codes {

void registerCommands(const std::function<void(const QString &code, Opener opener)> &add) {
    add(QStringLiteral("101"), [](QWidget *owner) {
        TFrmUserInfo w(owner);
        w.exec();
    });
    add(QStringLiteral("104"), [](QWidget *owner) {
        TFrmCodeMan w(owner);
        w.exec();
    });
}

} // namespace codes
