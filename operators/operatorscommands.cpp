#include "operatorscommands.h"

#include "ufrmmodpass.h"
#include "ufrmopergl.h"

namespace operators {

void registerCommands(const std::function<void(const QString &code, Opener opener)> &add) {
    add(QStringLiteral("102"), [](QWidget *owner) {
        TfrmModPass w(owner);
        w.exec();
    });
    add(QStringLiteral("103"), [](QWidget *owner) {
        TFrmOperGl w(owner);
        w.exec();
    });
}

} // namespace operators
