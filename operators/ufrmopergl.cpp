#include "ufrmopergl.h"

#include "opermanager.h"
#include "ufrmlimitgl.h"

#include "core/datadm.h"
#include "core/enternavigation.h"
#include "core/keltrin.h"
#include "core/session.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Columns of both lists: running number, code, name; then role and description (operators) or
// description (roles).
constexpr int kCodeColumn = 1;
constexpr int kNameColumn = 2;

QString oneLine(QString text) {
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QIcon flagIcon(bool disabled) {
    return QIcon::fromTheme(disabled ? QStringLiteral("user-offline") : QStringLiteral("user-online"));
}

} // namespace

TFrmOperGl::TFrmOperGl(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_tabs(new QTabWidget(this)), m_menu(new QMenu(this)) {
    setWindowTitle(QStringLiteral("操作员管理"));

    auto *hint =
        new QLabel(QStringLiteral("增加用户权限时，应该先增加角色(指的是同一类权限的用户)，然后在选择用户所属"
                                  "的角色，就可以了"),
                   this);
    hint->setWordWrap(true);

    m_operList = makeList({QStringLiteral("序"), QStringLiteral("编号"), QStringLiteral("用户名称"),
                           QStringLiteral("角色"), QStringLiteral("用户描述")},
                          "lvOper");
    m_roleList = makeList({QStringLiteral("序"), QStringLiteral("编号"), QStringLiteral("角色名称"),
                           QStringLiteral("角色描述")},
                          "lvPart");
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setDocumentMode(true);
    m_tabs->addTab(m_operList, QIcon::fromTheme(QStringLiteral("user-identity")),
                   QStringLiteral(" 用户列表 "));
    m_tabs->addTab(m_roleList, QIcon::fromTheme(QStringLiteral("system-users")),
                   QStringLiteral(" 角色列表 "));

    m_add = new QPushButton(QIcon::fromTheme(QStringLiteral("list-add")), QStringLiteral("新增"), this);
    m_edit = new QPushButton(QIcon::fromTheme(QStringLiteral("document-edit")), QStringLiteral("修改"), this);
    m_delete = new QPushButton(QIcon::fromTheme(QStringLiteral("list-remove")), QStringLiteral("删除"), this);
    m_close = new QPushButton(QIcon::fromTheme(QStringLiteral("window-close")), QStringLiteral("关闭"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {m_add, m_edit, m_delete, m_close}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    // the delete command stays on the Delete key and the pop-up menu for everyone
    m_delete->setVisible(session().isSuperUser());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    m_menu->addAction(QIcon::fromTheme(QStringLiteral("list-add")), QStringLiteral("新增"), this,
                      &TFrmOperGl::addRecord);
    m_menu->addAction(QIcon::fromTheme(QStringLiteral("document-edit")), QStringLiteral("修改"), this,
                      &TFrmOperGl::editRecord);
    m_menu->addAction(QIcon::fromTheme(QStringLiteral("list-remove")), QStringLiteral("删除"), this,
                      &TFrmOperGl::deleteRecord);

    connect(m_add, &QPushButton::clicked, this, &TFrmOperGl::addRecord);
    connect(m_edit, &QPushButton::clicked, this, &TFrmOperGl::editRecord);
    connect(m_delete, &QPushButton::clicked, this, &TFrmOperGl::deleteRecord);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    new DialogKeyFilter(this, [this](QWidget *focus, QKeyEvent *event) { return handleKey(focus, event); });

    refreshLists();
    m_tabs->setCurrentIndex(0);
    m_operList->setFocus();

    resize(640, 440);
    DispFormPos(this, 1);
}

QTreeWidget *TFrmOperGl::makeList(const QStringList &titles, const char *name) {
    auto *list = new QTreeWidget(this);
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHeaderLabels(titles);
    list->header()->setStretchLastSection(true);
    list->setColumnWidth(0, 60);
    list->setColumnWidth(kCodeColumn, 90);
    list->setColumnWidth(kNameColumn, 140);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QTreeWidget::customContextMenuRequested, this,
            [this, list](const QPoint &pos) { m_menu->popup(list->viewport()->mapToGlobal(pos)); });
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { editRecord(); });
    return list;
}

bool TFrmOperGl::onOperatorTab() const {
    return m_tabs->currentIndex() == 0;
}

QTreeWidget *TFrmOperGl::currentList() const {
    return onOperatorTab() ? m_operList : m_roleList;
}

void TFrmOperGl::fillOperators() {
    m_operList->clear();
    QSqlQuery q;
    if (!TdmData::OpenSql(
            QStringLiteral("select O.F_Code, O.F_Name, P.F_Name as P_Name, O.F_Mem, O.F_Flag "
                           "from OperList as O left join PartList as P on O.F_PartCode = P.F_Code "
                           "order by O.F_Code"),
            q))
        return;
    int n = 0;
    while (q.next()) {
        auto *item = new QTreeWidgetItem(m_operList,
                                         {QString::number(++n), q.value(0).toString(), q.value(1).toString(),
                                          q.value(2).toString(), oneLine(q.value(3).toString())});
        item->setIcon(0, flagIcon(q.value(4).toInt() != 0));
    }
    if (m_operList->topLevelItemCount() > 0)
        m_operList->setCurrentItem(m_operList->topLevelItem(0));
}

void TFrmOperGl::fillRoles() {
    m_roleList->clear();
    QSqlQuery q;
    if (!TdmData::OpenSql(
            QStringLiteral("select F_Code, F_Name, F_Mem, F_Flag from PartList order by F_Code"), q))
        return;
    int n = 0;
    while (q.next()) {
        auto *item = new QTreeWidgetItem(m_roleList, {QString::number(++n), q.value(0).toString(),
                                                      q.value(1).toString(), oneLine(q.value(2).toString())});
        item->setIcon(0, flagIcon(q.value(3).toInt() != 0));
    }
    if (m_roleList->topLevelItemCount() > 0)
        m_roleList->setCurrentItem(m_roleList->topLevelItem(0));
}

void TFrmOperGl::refreshLists(const QString &code) {
    const int row = currentList()->indexOfTopLevelItem(currentList()->currentItem());
    fillOperators();
    fillRoles();
    if (!code.isEmpty() && selectCode(code))
        return;
    // the row at the same position (the one that took the place of a deleted row)
    QTreeWidget *list = currentList();
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(qBound(0, row, list->topLevelItemCount() - 1)));
}

QString TFrmOperGl::currentCode() const {
    const QTreeWidgetItem *item = currentList()->currentItem();
    return item ? item->text(kCodeColumn) : QString();
}

bool TFrmOperGl::selectCode(const QString &code) {
    QTreeWidget *list = currentList();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(kCodeColumn) == code) {
            list->setCurrentItem(list->topLevelItem(i));
            return true;
        }
    }
    return false;
}

void TFrmOperGl::addRecord() {
    const QString saved =
        onOperatorTab() ? ShowOperatorEditor(QString(), false, this) : ShowRoleEditor(QString(), false, this);
    refreshLists(saved);
}

void TFrmOperGl::editRecord() {
    const QString code = currentCode();
    if (code.isEmpty()) {
        ShowMess(QStringLiteral("请选择要修改的行！"), 3);
        return;
    }
    const QString saved =
        onOperatorTab() ? ShowOperatorEditor(code, true, this) : ShowRoleEditor(code, true, this);
    refreshLists(saved.isEmpty() ? code : saved);
}

void TFrmOperGl::deleteRecord() {
    const QTreeWidgetItem *item = currentList()->currentItem();
    if (!item)
        return;
    const QString code = item->text(kCodeColumn);
    const QString name = item->text(kNameColumn);
    if (onOperatorTab()) {
        if (code.trimmed() == kSuperUserCode) {
            ShowMess(QStringLiteral("此用户为系统专用用户，不能被删除！"), 2);
            return;
        }
        if (ShowMess(QStringLiteral("真的要删除当前用户") + name + QStringLiteral("吗？"), 1) != 1)
            return;
        deleteOperator(code);
    } else {
        if (ShowMess(QStringLiteral("真的要删除当前角色") + name + QStringLiteral("吗？"), 1) != 1)
            return;
        deleteRole(code);
    }
    refreshLists();
}

bool TFrmOperGl::handleKey(QWidget *, QKeyEvent *event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier && event->key() == Qt::Key_A) {
        addRecord();
        return true;
    }
    if (mods == Qt::ControlModifier && event->key() == Qt::Key_E) {
        editRecord();
        return true;
    }
    if (mods == Qt::NoModifier && event->key() == Qt::Key_Delete) {
        deleteRecord();
        return true;
    }
    return false;
}
