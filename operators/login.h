#pragma once
#include <QSet>
#include <QString>

// What the login changes in the main window.
class LoginHost {
public:
    virtual ~LoginHost() = default;
    // Shows exactly the given actions (and the menus that keep one) and hides the rest.
    virtual void applyActions(const QSet<QString> &visibleActions) = 0;
    // Puts the operator's name and the login time into the status bar.
    virtual void showOperator(const QString &operName) = 0;
};

// Shows the login window (mode 0 first login at start-up, 1 change of operator) and on success
// fills the session and applies the role through host (which may be nullptr). True when an
// operator logged in; false when the window was cancelled or ended after four failures.
bool RunLogin(int mode, LoginHost *host);
// Applies the logged-in operator's rights through host.
void SetLimits(LoginHost *host);
