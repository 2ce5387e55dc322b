#include "ufrmmain.h"

#include "appinfo.h"
#include "auxcommands.h"
#include "commandregistry.h"
#include "core/keltrin.h"
#include "core/pubunit.h"
#include "core/session.h"
#include "operators/actions.h"
#include "ufrmabout.h"
#include "ufrmbtnimage.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

namespace {

// The menu-bar items of each menu that follows the actions; "-" is a separator and "relogin"
// the command 用户重新登录.
struct MenuDef {
    const char *title;
    const char *items;
};
const MenuDef kDataMenus[] = {
    {"系统管理", "101 102 103 - 104 105 - relogin"},
    {"人事管理", "201 202 203 204 205 206 207 208 209 210 211 - 213 215 212 214"},
    {"工资管理", "301 302 303 304 305 306 - 307 308 309"},
    {"统计报表", "401 402 403 404 413 414 405 406 - 407 408 409 410 411 412"},
    {"数据维护", "501 502 503 - 504 505 506 507"},
};

QString nowText() {
    return QLatin1Char(' ') + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

const QStringList &dataMenuTitles() {
    static const QStringList titles = [] {
        QStringList out;
        for (const MenuDef &m : kDataMenus)
            out << QString::fromUtf8(m.title);
        return out;
    }();
    return titles;
}

QString actionIconName(const QString &code) {
    static const QHash<QString, QString> icons{
        {"101", "documentinfo"},
        {"102", "preferences-desktop-user-password"},
        {"103", "user-group-properties"},
        {"104", "configure"},
        {"105", "view-process-tree"},
        {"201", "user-identity"},
        {"202", "document-sign"},
        {"203", "applications-education"},
        {"204", "view-task"},
        {"205", "transform-move"},
        {"206", "favorite"},
        {"207", "view-financial-account-investment"},
        {"208", "security-high"},
        {"209", "system-log-out"},
        {"210", "go-home"},
        {"211", "view-certificate"},
        {"212", "office-chart-pie"},
        {"213", "view-calendar-birthday"},
        {"214", "view-list-details"},
        {"215", "view-calendar-tasks"},
        {"301", "view-list-text"},
        {"302", "chronometer"},
        {"303", "view-financial-category-expense"},
        {"304", "view-financial-category-income"},
        {"305", "view-financial-budget"},
        {"306", "view-financial-account-cash"},
        {"307", "code-function"},
        {"308", "package"},
        {"309", "view-statistics"},
        {"501", "document-save"},
        {"502", "edit-clear-all"},
        {"503", "database-index"},
        {"504", "document-import"},
        {"505", "document-import"},
        {"506", "document-import"},
        {"507", "document-import"},
    };
    if (code.startsWith(QLatin1Char('4')))
        return QStringLiteral("office-chart-bar");
    return icons.value(code);
}

TFrmMain::TFrmMain(QWidget *parent) : QMainWindow(parent) {
    // Without a desktop's platform theme Qt looks for icon themes only in its resources.
    QStringList iconPaths = QIcon::themeSearchPaths();
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString path = QDir(dir).filePath(QStringLiteral("icons"));
        if (!iconPaths.contains(path) && QFileInfo::exists(path))
            iconPaths << path;
    }
    QIcon::setThemeSearchPaths(iconPaths);
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("breeze"));
    else
        QIcon::setFallbackThemeName(QStringLiteral("breeze"));
    registerAllCommands();

    setWindowTitle(AppTitle + AppVersion);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("system-users")));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdi);

    createActions();
    createMenus();
    createStatusBar();

    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &TFrmMain::updateClock);
    m_clock->start();

    resize(1024, 720);
    DispFormPos(this, 2);
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::createActions() {
    for (const ActionInfo &info : actionCatalog()) {
        const QString text = info.menuCaption.isEmpty() ? info.caption : info.menuCaption;
        auto *a = new QAction(text, this);
        a->setObjectName(QStringLiteral("act") + info.code);
        const QString icon = actionIconName(info.code);
        if (!icon.isEmpty())
            a->setIcon(QIcon::fromTheme(icon));
        const QString code = info.code;
        connect(a, &QAction::triggered, this, [this, code] { runCommand(code); });
        m_actions.insert(code, a);
    }

    m_actRelogin = new QAction(QIcon::fromTheme(QStringLiteral("system-switch-user")),
                               QStringLiteral("用户重新登录"), this);
    connect(m_actRelogin, &QAction::triggered, this, [this] { RunLogin(1, this); });

    m_actCascade = new QAction(QStringLiteral("重叠"), this);
    connect(m_actCascade, &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    m_actTileH = new QAction(QStringLiteral("横向重排"), this);
    connect(m_actTileH, &QAction::triggered, this, [this] { tileChildren(Qt::Horizontal); });
    m_actTileV = new QAction(QStringLiteral("纵向重排"), this);
    connect(m_actTileV, &QAction::triggered, this, [this] { tileChildren(Qt::Vertical); });
    m_actNext = new QAction(QStringLiteral("切换"), this);
    connect(m_actNext, &QAction::triggered, m_mdi, &QMdiArea::activateNextSubWindow);
    m_actCloseChild = new QAction(QStringLiteral("关闭"), this);
    connect(m_actCloseChild, &QAction::triggered, m_mdi, &QMdiArea::closeActiveSubWindow);
    m_actCloseAll = new QAction(QStringLiteral("全部关闭"), this);
    connect(m_actCloseAll, &QAction::triggered, this, &TFrmMain::closeAllChildren);

    m_actUpgrade = new QAction(QIcon::fromTheme(QStringLiteral("system-software-update")),
                               QStringLiteral("升级工具"), this);
    connect(m_actUpgrade, &QAction::triggered, this, [] {
        if (StartUpgrade(QCoreApplication::applicationDirPath()))
            QCoreApplication::exit(0);
    });
    m_actCalculator = new QAction(QIcon::fromTheme(QStringLiteral("accessories-calculator")),
                                  QStringLiteral("计 算 器"), this);
    connect(m_actCalculator, &QAction::triggered, this, [] { StartCalculator(); });
    m_actEditor = new QAction(QIcon::fromTheme(QStringLiteral("accessories-text-editor")),
                              QStringLiteral("记 事 本"), this);
    connect(m_actEditor, &QAction::triggered, this, [] { StartEditor(); });
    m_actHelp =
        new QAction(QIcon::fromTheme(QStringLiteral("help-contents")), QStringLiteral("软件帮助"), this);
    connect(m_actHelp, &QAction::triggered, this, [] { OpenHelp(QCoreApplication::applicationDirPath()); });
    m_actAbout =
        new QAction(QIcon::fromTheme(QStringLiteral("help-about")), QStringLiteral("关于我们"), this);
    connect(m_actAbout, &QAction::triggered, this, [this] {
        TFrmAbout about(this);
        about.exec();
    });
    m_actWebSite = new QAction(QIcon::fromTheme(QStringLiteral("internet-web-browser")),
                               QStringLiteral("官方网站"), this);
    connect(m_actWebSite, &QAction::triggered, this, [] { OpenWebSite(); });

    m_actNavigator = new QAction(QStringLiteral("导航窗体"), this);
    connect(m_actNavigator, &QAction::triggered, this, &TFrmMain::showDesktop);
}

void TFrmMain::createMenus() {
    QMenuBar *bar = menuBar();
    for (const MenuDef &def : kDataMenus) {
        const QString title = QString::fromUtf8(def.title);
        QMenu *menu = bar->addMenu(title);
        m_menus.insert(title, menu);
        const QStringList items = QString::fromUtf8(def.items).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &item : items) {
            if (item == QLatin1String("-"))
                menu->addSeparator();
            else if (item == QLatin1String("relogin"))
                menu->addAction(m_actRelogin);
            else
                menu->addAction(m_actions.value(item));
        }
    }

    QMenu *window = bar->addMenu(QStringLiteral("窗体"));
    m_menus.insert(window->title(), window);
    window->addAction(m_actCascade);
    window->addAction(m_actTileH);
    window->addAction(m_actTileV);
    window->addSeparator();
    window->addAction(m_actNext);
    window->addAction(m_actCloseChild);
    window->addAction(m_actCloseAll);

    QMenu *aux = bar->addMenu(QStringLiteral("辅助功能"));
    m_menus.insert(aux->title(), aux);
    aux->addAction(m_actUpgrade);
    aux->addAction(m_actCalculator);
    aux->addAction(m_actEditor);
    aux->addSeparator();
    aux->addAction(m_actHelp);
    aux->addAction(m_actAbout);
    aux->addAction(m_actWebSite);

    bar->addAction(m_actNavigator);
}

void TFrmMain::createStatusBar() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(13);
    statusBar()->setFont(font);
    const QStringList texts{QStringLiteral(" 当前用户"), QString(), QStringLiteral(" 当前日期时间"),
                            QString(), AppStatusCaption};
    const int widths[] = {100, 100, 100, 160};
    for (int i = 0; i < texts.size(); ++i) {
        auto *label = new QLabel(texts.at(i), this);
        label->setFont(font);
        label->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        if (i < 4) {
            label->setFixedWidth(widths[i]);
            statusBar()->addWidget(label);
        } else {
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            statusBar()->addWidget(label, 1);
        }
        m_panels << label;
    }
}

QString TFrmMain::statusText(int index) const {
    return index >= 0 && index < m_panels.size() ? m_panels.at(index)->text() : QString();
}

void TFrmMain::updateClock() {
    m_panels.at(3)->setText(nowText());
}

void TFrmMain::applyActions(const QSet<QString> &visibleActions) {
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        it.value()->setVisible(visibleActions.contains(it.key()));
    const QSet<QString> menus = visibleMenus(visibleActions);
    for (const QString &title : dataMenuTitles())
        m_menus.value(title)->menuAction()->setVisible(menus.contains(title));
    // The desktop's tabs follow at once as well as whenever the desktop is shown.
    if (TFrmBtnImage *d = desktop())
        d->refreshTabs();
}

void TFrmMain::showOperator(const QString &operName) {
    m_panels.at(1)->setText(QLatin1Char(' ') + operName);
    m_panels.at(3)->setText(nowText());
}

bool TFrmMain::isMenuShown(const QString &title) const {
    QMenu *menu = m_menus.value(title);
    return menu && menu->menuAction()->isVisible();
}

void TFrmMain::runCommand(const QString &code) {
    QAction *a = action(code);
    if (!a || !a->isVisible())
        return;
    const CommandHandler handler = commandHandler(code);
    if (handler) {
        handler(this);
        AfterCommand(code);
        return;
    }
    const ActionInfo *info = findAction(code);
    if (!info || info->menuCaption.isEmpty())
        return; // 106 has no command
    ShowMess(PendingCommandMessage(info->menuCaption), 0);
}

TFrmBtnImage *TFrmMain::desktop() const {
    if (!m_desktopWindow || !m_mdi->subWindowList().contains(m_desktopWindow.data()))
        return nullptr;
    return qobject_cast<TFrmBtnImage *>(m_desktopWindow->widget());
}

void TFrmMain::showDesktop() {
    if (desktop()) {
        if (m_desktopWindow->isMinimized())
            m_desktopWindow->showNormal();
        else
            m_desktopWindow->show();
    } else {
        auto *desk = new TFrmBtnImage(this);
        QMdiSubWindow *sub = m_mdi->addSubWindow(desk, Qt::SubWindow | Qt::FramelessWindowHint);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(desk->windowTitle());
        sub->resize(900, 588);
        sub->move(0, 0);
        sub->show();
        m_desktopWindow = sub;
    }
    m_mdi->setActiveSubWindow(m_desktopWindow);
    m_desktopWindow->raise();
    m_desktopWindow->widget()->setFocus();
    desktop()->refreshTabs();
}

void TFrmMain::tileChildren(Qt::Orientation orientation) {
    QList<QMdiSubWindow *> children;
    for (QMdiSubWindow *w : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (!w->isHidden() && !w->isMinimized())
            children << w;
    if (children.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = children.size();
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *w = children.at(i);
        if (w->isMaximized())
            w->showNormal();
        if (orientation == Qt::Horizontal) {
            // 横向重排: full-width windows stacked one above another
            const int h = area.height() / n;
            w->setGeometry(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
        } else {
            // 纵向重排: full-height windows side by side
            const int wd = area.width() / n;
            w->setGeometry(i * wd, 0, i == n - 1 ? area.width() - i * wd : wd, area.height());
        }
    }
}

void TFrmMain::closeAllChildren() {
    const QList<QMdiSubWindow *> children = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (int i = children.size() - 1; i >= 0; --i)
        children.at(i)->close();
}

void TFrmMain::firstShow() {
    if (m_firstShown)
        return;
    m_firstShown = true;
    setWindowTitle(AppTitle + AppVersion);
    showDesktop();
    showOperator(session().CurOperName);
    RunStartupBackup(QDate::currentDate());
    BuildNumberFormats();
}

void TFrmMain::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!m_firstShown)
        QTimer::singleShot(0, this, &TFrmMain::firstShow);
}

void TFrmMain::closeEvent(QCloseEvent *event) {
    if (ShowMess(QStringLiteral("真的要退出“") + AppTitle + QStringLiteral("”软件吗？"), 1) == 1)
        event->accept();
    else
        event->ignore();
}
