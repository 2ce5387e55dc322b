#include "login.h"

#include "actions.h"
#include "ufrmoperlogin.h"

#include "core/session.h"

#include <QWidget>

bool RunLogin(int mode, LoginHost *host) {
    TfrmOperLogin dlg(mode, dynamic_cast<QWidget *>(host));
    if (dlg.exec() != QDialog::Accepted)
        return false;
    SetLimits(host);
    return true;
}

void SetLimits(LoginHost *host) {
    if (!host)
        return;
    const Session &s = session();
    host->applyActions(permittedActions(s.CurOperCode, s.CurPartCode));
    host->showOperator(s.CurOperName);
}
