#pragma once
#include "operators/login.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QString>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class TFrmBtnImage;

// The program's main window: menu bar, status bar with the clock, and an MDI area
// whose only child is the desktop. Every function is an action with a three-digit code; a
// triggered action opens the window registered for its code (app/commandregistry.h), and does
// nothing while the action is hidden. Closing asks once; the window is not freed by closing.
class TFrmMain : public QMainWindow, public LoginHost {
    Q_OBJECT
public:
    explicit TFrmMain(QWidget *parent = nullptr);
    ~TFrmMain() override;

    // LoginHost
    void applyActions(const QSet<QString> &visibleActions) override;
    void showOperator(const QString &operName) override;

    // The steps of the first show (caption, desktop, status bar, automatic backup, number
    // formats); runs once, also when the window is first shown.
    void firstShow();
    // Brings the desktop back: restores it when minimised, shows and activates it, creates it
    // when it was closed. Also re-evaluates which of its tabs are shown.
    void showDesktop();
    // Runs the command of an action code as its action's trigger does.
    void runCommand(const QString &code);

    // The action of a catalogue code (nullptr for an unknown code).
    QAction *action(const QString &code) const { return m_actions.value(code); }
    // The top-level menu with that title (系统管理 .. 辅助功能), nullptr when there is none.
    QMenu *topMenu(const QString &title) const { return m_menus.value(title); }
    // True when the top-level menu with that title is shown in the menu bar.
    bool isMenuShown(const QString &title) const;
    // The commands of the menus that are not catalogue actions.
    QAction *reloginAction() const { return m_actRelogin; }
    QAction *navigatorAction() const { return m_actNavigator; }
    QAction *cascadeAction() const { return m_actCascade; }
    QAction *tileHorizontalAction() const { return m_actTileH; }
    QAction *tileVerticalAction() const { return m_actTileV; }
    QAction *nextChildAction() const { return m_actNext; }
    QAction *closeChildAction() const { return m_actCloseChild; }
    QAction *closeAllAction() const { return m_actCloseAll; }
    QAction *upgradeAction() const { return m_actUpgrade; }
    QAction *calculatorAction() const { return m_actCalculator; }
    QAction *editorAction() const { return m_actEditor; }
    QAction *helpAction() const { return m_actHelp; }
    QAction *aboutAction() const { return m_actAbout; }
    QAction *webSiteAction() const { return m_actWebSite; }

    QMdiArea *mdiArea() const { return m_mdi; }
    // The desktop, nullptr while it is closed.
    TFrmBtnImage *desktop() const;
    // The text of status panel index (0..4).
    QString statusText(int index) const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createStatusBar();
    void tileChildren(Qt::Orientation orientation);
    void closeAllChildren();
    void updateClock();

    QMdiArea *m_mdi = nullptr;
    QPointer<QMdiSubWindow> m_desktopWindow;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QList<QLabel *> m_panels;
    QTimer *m_clock = nullptr;
    bool m_firstShown = false;

    QAction *m_actRelogin = nullptr;
    QAction *m_actNavigator = nullptr;
    QAction *m_actCascade = nullptr;
    QAction *m_actTileH = nullptr;
    QAction *m_actTileV = nullptr;
    QAction *m_actNext = nullptr;
    QAction *m_actCloseChild = nullptr;
    QAction *m_actCloseAll = nullptr;
    QAction *m_actUpgrade = nullptr;
    QAction *m_actCalculator = nullptr;
    QAction *m_actEditor = nullptr;
    QAction *m_actHelp = nullptr;
    QAction *m_actAbout = nullptr;
    QAction *m_actWebSite = nullptr;
};

// The Breeze icon name of an action code's picture ("" when it has none).
QString actionIconName(const QString &code);
// Top-level menus of the main window that follow the actions, in menu-bar order.
const QStringList &dataMenuTitles();
