#include "ufrmbtnimage.h"

#include "operators/actions.h"
#include "ufrmmain.h"

#include <QAction>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A tab bar for tabs on the west side: 60-pixel rounded teal tabs whose picture and caption
// read horizontally.
class WestTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        const int text = fontMetrics().horizontalAdvance(tabText(index));
        return QSize(kPad + iconSize().width() + kPad + text + 2 * kPad, 60);
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor teal(0x0f, 0x7b, 0x7b), light(0xd7, 0xee, 0xee);
        for (int i = 0; i < count(); ++i) {
            if (!isTabVisible(i))
                continue;
            const bool selected = i == currentIndex();
            const QRect r = tabRect(i).adjusted(2, 2, 0, -2);
            painter.setPen(teal);
            painter.setBrush(selected ? teal : light);
            painter.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, 8, -0.5), 8, 8);
            QRect content = r.adjusted(kPad, 0, -kPad, 0);
            const QIcon icon = tabIcon(i);
            if (!icon.isNull()) {
                const QRect ir(QPoint(content.left(), r.center().y() - iconSize().height() / 2), iconSize());
                icon.paint(&painter, ir);
                content.setLeft(ir.right() + kPad);
            }
            painter.setPen(selected ? QColor(Qt::white) : teal.darker(150));
            painter.drawText(content, Qt::AlignLeft | Qt::AlignVCenter, tabText(i));
        }
    }

private:
    static constexpr int kPad = 8;
};

class DesktopTabs : public QTabWidget {
public:
    explicit DesktopTabs(QWidget *parent) : QTabWidget(parent) {
        setTabBar(new WestTabBar(this));
        setTabPosition(QTabWidget::West);
        setIconSize(QSize(32, 32));
    }
};

struct TabDef {
    const char *title;
    const char *menu;
    const char *icon;
};
const TabDef kTabs[] = {
    {"人事管理", "人事管理", "system-users"},    {"工资管理", "工资管理", "accessories-calculator"},
    {"报表中心", "统计报表", "folder-chart"},    {"系统管理", "系统管理", "applications-system"},
    {"数据维护", "数据维护", "folder-database"},
};

QStringList codes(const char *list) {
    return QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

const char kStyle[] = R"(
QWidget#desktopPage { background-color: #0f7b7b; }
QWidget#desktopPage QLabel { color: #ffffff; font-weight: bold; }
QWidget#desktopPage QToolButton { color: #ffffff; border: none; border-radius: 6px; padding: 4px; }
QWidget#desktopPage QToolButton:hover { background-color: rgba(255, 255, 255, 40); }
QWidget#desktopPage QToolButton:pressed { background-color: rgba(0, 0, 0, 40); }
QWidget#desktopPage QToolButton[textButton="true"] { text-decoration: underline; }
QWidget#desktopPage QToolButton[pictureButton="true"] { background-color: rgba(255, 255, 255, 225);
    color: #0b4f4f; border: 1px solid #0a5c5c; border-radius: 10px; }
QWidget#desktopPage QToolButton[pictureButton="true"]:hover { background-color: #ffffff; }
QWidget#desktopPage QToolButton[pictureButton="true"]:pressed { background-color: #b9e0e0; }
)";

} // namespace

TFrmBtnImage::TFrmBtnImage(TFrmMain *mainWindow, QWidget *parent) : QWidget(parent), m_main(mainWindow) {
    setWindowTitle(QStringLiteral("桌面"));
    setStyleSheet(QString::fromUtf8(kStyle));
    m_tabs = new DesktopTabs(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);

    // a page: picture buttons in rows of four, then a row of text buttons
    auto addPage = [this](const TabDef &tab, const QStringList &pictures, const QStringList &texts) {
        QWidget *page = newPage();
        auto *v = new QVBoxLayout(page);
        v->setContentsMargins(24, 24, 24, 24);
        v->setSpacing(16);
        auto *grid = new QGridLayout;
        grid->setSpacing(12);
        for (int i = 0; i < pictures.size(); ++i)
            grid->addWidget(pictureButton(pictures.at(i), page), i / 4, i % 4);
        grid->setColumnStretch(4, 1);
        v->addLayout(grid);
        auto *row = new QHBoxLayout;
        for (const QString &code : texts)
            row->addWidget(textButton(code, page));
        row->addStretch();
        v->addLayout(row);
        v->addStretch();
        m_tabs->addTab(page, QIcon::fromTheme(QString::fromLatin1(tab.icon)), QString::fromUtf8(tab.title));
    };

    addPage(kTabs[0], codes("201 202 203 204 205 206 207 208 209 210 211"), codes("212 213 214 215"));
    addPage(kTabs[1], codes("301 302 303 305 304 306"), codes("309 308 307"));

    // 报表中心: three labelled groups of text buttons
    {
        QWidget *page = newPage();
        auto *v = new QVBoxLayout(page);
        v->setContentsMargins(24, 24, 24, 24);
        v->setSpacing(10);
        const struct {
            const char *label;
            const char *codes;
        } groups[] = {
            {"生产计件报表", "401 402 403 404"},
            {"工资核算报表", "405 406 413 414"},
            {"员工及部门工资汇总统计", "407 408 409 410 411 412"},
        };
        for (const auto &g : groups) {
            auto *label = new QLabel(QString::fromUtf8(g.label), page);
            v->addWidget(label);
            auto *grid = new QGridLayout;
            grid->setContentsMargins(24, 0, 0, 8);
            const QStringList list = codes(g.codes);
            for (int i = 0; i < list.size(); ++i)
                grid->addWidget(textButton(list.at(i), page), i / 3, i % 3);
            grid->setColumnStretch(3, 1);
            v->addLayout(grid);
        }
        v->addStretch();
        m_tabs->addTab(page, QIcon::fromTheme(QString::fromLatin1(kTabs[2].icon)),
                       QString::fromUtf8(kTabs[2].title));
    }

    addPage(kTabs[3], codes("101 102 103 104 105"), codes("208 209"));
    addPage(kTabs[4], codes("501 502 503"), codes("504 505 506 507"));

    setFixedSize(900, 588);
}

const QStringList &TFrmBtnImage::tabTitles() {
    static const QStringList titles = [] {
        QStringList out;
        for (const TabDef &t : kTabs)
            out << QString::fromUtf8(t.title);
        return out;
    }();
    return titles;
}

QString TFrmBtnImage::menuOfTab(const QString &tabTitle) {
    for (const TabDef &t : kTabs)
        if (tabTitle == QString::fromUtf8(t.title))
            return QString::fromUtf8(t.menu);
    return QString();
}

int TFrmBtnImage::tabIndex(const QString &title) const {
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->tabText(i) == title)
            return i;
    return -1;
}

void TFrmBtnImage::refreshTabs() {
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->setTabVisible(i, m_main->isMenuShown(menuOfTab(m_tabs->tabText(i))));
}

void TFrmBtnImage::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        refreshTabs();
}

QWidget *TFrmBtnImage::newPage() {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("desktopPage"));
    page->setAttribute(Qt::WA_StyledBackground);
    return page;
}

QToolButton *TFrmBtnImage::pictureButton(const QString &code, QWidget *page) {
    auto *b = new QToolButton(page);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setProperty("pictureButton", true);
    b->setIconSize(QSize(48, 48));
    b->setFixedSize(120, 92);
    if (QAction *a = m_main->action(code))
        b->setIcon(a->icon());
    bind(b, code);
    return b;
}

QToolButton *TFrmBtnImage::textButton(const QString &code, QWidget *page) {
    auto *b = new QToolButton(page);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setProperty("textButton", true);
    b->setMinimumWidth(130);
    bind(b, code);
    return b;
}

void TFrmBtnImage::bind(QToolButton *button, const QString &code) {
    QAction *a = m_main->action(code);
    const ActionInfo *info = findAction(code);
    button->setObjectName(QStringLiteral("btn") + code);
    button->setText(info ? info->caption : code);
    button->setToolTip(a ? a->text() : QString());
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoRaise(true);
    m_buttons[code].append(button);
    if (!a)
        return;
    button->setVisible(a->isVisible());
    connect(a, &QAction::changed, button, [button, a] { button->setVisible(a->isVisible()); });
    connect(button, &QToolButton::clicked, a, &QAction::trigger);
}
