#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class QAction;
class QTabWidget;
class QToolButton;
class TFrmMain;

// The desktop ("桌面"): a borderless MDI child of the main window with one tab per menu holding
// large buttons bound to the main window's actions. A button shows its action's caption, is
// hidden while the action is hidden and runs the action when clicked.
class TFrmBtnImage : public QWidget {
    Q_OBJECT
public:
    explicit TFrmBtnImage(TFrmMain *mainWindow, QWidget *parent = nullptr);

    // The tab titles in order, and the menu of the main window each tab follows.
    static const QStringList &tabTitles();
    static QString menuOfTab(const QString &tabTitle);

    QTabWidget *tabs() const { return m_tabs; }
    // Index of the tab with that title, -1 when there is none.
    int tabIndex(const QString &title) const;
    // The buttons bound to the action of code (208 and 209 appear on two tabs).
    QList<QToolButton *> buttonsFor(const QString &code) const { return m_buttons.value(code); }
    // Shows each tab exactly when its menu of the main window is visible.
    void refreshTabs();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *newPage();
    QToolButton *pictureButton(const QString &code, QWidget *page);
    QToolButton *textButton(const QString &code, QWidget *page);
    void bind(QToolButton *button, const QString &code);

    TFrmMain *m_main;
    QTabWidget *m_tabs;
    QHash<QString, QList<QToolButton *>> m_buttons;
};
