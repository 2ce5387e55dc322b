#include "ufrmtreecodeman.h"

#include "treecodes.h"
#include "udlgentercaption.h"

#include "core/datadm.h"
#include "core/keltrin.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

const QString kRootCaption = QStringLiteral("员工部门资料");

bool isRoot(const QTreeWidgetItem *item) {
    return item && !item->parent();
}
QString codeOf(const QTreeWidgetItem *item) {
    return item->data(0, TdmData::NodeCodeRole).toString();
}
QString nameOf(const QTreeWidgetItem *item) {
    return item->data(0, TdmData::NodeNameRole).toString();
}
QString likeOf(const QTreeWidgetItem *item) {
    return item->data(0, TdmData::NodeLikeCodeRole).toString();
}

// The path new children of item are built on: the root's two backslashes, otherwise the names
// from the top level down.
QString basePath(const QTreeWidgetItem *item) {
    return isRoot(item) ? TreeCodes::rootPath() : TdmData::GetTreePath(item, 1);
}

QPushButton *commandButton(const QString &name, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    // Enter belongs to the tree (see eventFilter), never to a button
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

TFrmTreeCodeMan::TFrmTreeCodeMan(QWidget *parent) : QDialog(parent), m_kind(TreeCodes::deptKind()) {
    setWindowTitle(kRootCaption);
    setModal(true);

    m_images[0] = QIcon::fromTheme(QStringLiteral("folder-root"));
    m_images[1] = QIcon::fromTheme(QStringLiteral("folder-open"));
    m_images[2] = QIcon::fromTheme(QStringLiteral("folder"));
    m_images[3] = QIcon::fromTheme(QStringLiteral("folder-open"), QIcon::fromTheme(QStringLiteral("folder")));

    auto *hint = new QLabel(
        QStringLiteral("    增加节点，需先选中左边框里的节点成灰色，然后才能选择增加同级节点或子节点"));
    hint->setWordWrap(true);

    tvCodes = new QTreeWidget;
    tvCodes->setObjectName(QStringLiteral("tvCodes"));
    tvCodes->setHeaderHidden(true);
    tvCodes->setColumnCount(1);
    tvCodes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvCodes->setSelectionMode(QAbstractItemView::SingleSelection);
    tvCodes->setExpandsOnDoubleClick(false);
    tvCodes->setContextMenuPolicy(Qt::ActionsContextMenu);
    tvCodes->installEventFilter(this);

    btnAddSibling = commandButton(QStringLiteral("btnAddSibling"), QStringLiteral("添加同类(&A)"));
    btnAddChild = commandButton(QStringLiteral("btnAddChild"), QStringLiteral("添加子类(&C)"));
    btnDelete = commandButton(QStringLiteral("btnDelete"), QStringLiteral("删除(包含子类)"));
    btnEdit = commandButton(QStringLiteral("btnEdit"), QStringLiteral("修    改(&E)"));
    btnOk = commandButton(QStringLiteral("btnOk"), QStringLiteral("确定"));
    btnCancel = commandButton(QStringLiteral("btnCancel"), QStringLiteral("取消"));
    btnOk->setVisible(false);
    btnCancel->setVisible(false);

    // the same four commands on the tree's pop-up menu
    const std::pair<QPushButton *, void (TFrmTreeCodeMan::*)()> commands[] = {
        {btnAddSibling, &TFrmTreeCodeMan::btnAddSiblingClick},
        {btnAddChild, &TFrmTreeCodeMan::btnAddChildClick},
        {btnDelete, &TFrmTreeCodeMan::btnDeleteClick},
        {btnEdit, &TFrmTreeCodeMan::btnEditClick}};
    for (const auto &[button, handler] : commands) {
        connect(button, &QPushButton::clicked, this, handler);
        auto *action = new QAction(button->text(), tvCodes);
        connect(action, &QAction::triggered, this, handler);
        tvCodes->addAction(action);
    }
    connect(btnOk, &QPushButton::clicked, this, &TFrmTreeCodeMan::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(tvCodes, &QTreeWidget::itemDoubleClicked, this, &TFrmTreeCodeMan::itemDoubleClicked);
    connect(tvCodes, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *previous) {
                showImage(previous);
                showImage(current);
            });

    auto *panel = new QVBoxLayout;
    for (QPushButton *b : {btnAddSibling, btnAddChild, btnDelete, btnEdit})
        panel->addWidget(b);
    panel->addStretch();
    panel->addWidget(btnOk);
    panel->addWidget(btnCancel);
    auto *body = new QHBoxLayout;
    body->addWidget(tvCodes, 1);
    body->addLayout(panel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(body, 1);

    resize(520, 460);
    CentreOnOwner(this);
}

void TFrmTreeCodeMan::ShowTreeCodes(int mode) {
    m_mode = mode == 2 ? 2 : 1;
    setWindowTitle(kRootCaption);
    TdmData::LoadTreeCodes(tvCodes, kRootCaption, m_kind);
    QTreeWidgetItem *root = tvCodes->topLevelItem(0);
    if (root) {
        root->setExpanded(true);
        tvCodes->setCurrentItem(root);
    }
    showImages();
    tvCodes->setFocus();
}

QString TFrmTreeCodeMan::PickTreePath(const QString &path) {
    btnOk->setVisible(true);
    btnCancel->setVisible(true);
    selectPath(path);
    if (exec() != QDialog::Accepted || !tvCodes->currentItem())
        return path;
    return likeOf(tvCodes->currentItem());
}

void TFrmTreeCodeMan::selectPath(const QString &path) {
    const QString wanted = path.trimmed();
    QTreeWidgetItem *first = nullptr;
    for (QTreeWidgetItemIterator it(tvCodes); *it; ++it) {
        QTreeWidgetItem *item = *it;
        if (isRoot(item) || wanted.isEmpty() ||
            likeOf(item).trimmed().compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        for (QTreeWidgetItem *p = item; p; p = p->parent())
            p->setExpanded(true);
        if (!first)
            first = item;
    }
    tvCodes->setCurrentItem(first ? first : tvCodes->topLevelItem(0));
}

QTreeWidgetItem *TFrmTreeCodeMan::findPath(const QString &path) const {
    for (QTreeWidgetItemIterator it(tvCodes); *it; ++it)
        if (likeOf(*it) == path)
            return *it;
    return nullptr;
}

int TFrmTreeCodeMan::nodeImage(const QTreeWidgetItem *item, bool selected) {
    if (isRoot(item))
        return 0;
    if (isRoot(item->parent()) && item->childCount() > 0)
        return 1;
    return selected ? 3 : 2;
}

void TFrmTreeCodeMan::showImage(QTreeWidgetItem *item) {
    if (item)
        item->setIcon(0, m_images[nodeImage(item, item == tvCodes->currentItem())]);
}

void TFrmTreeCodeMan::showImages() {
    for (QTreeWidgetItemIterator it(tvCodes); *it; ++it)
        showImage(*it);
}

QString TFrmTreeCodeMan::askName(const QString &caption, const QString &value) {
    const QString name = TDLGenterCaption::Execute(this, caption, value).trimmed();
    if (name.isEmpty())
        return QString();
    const QString refused = TreeCodes::CheckNodeName(name);
    if (!refused.isEmpty()) {
        ShowMess(refused, 0);
        return QString();
    }
    return name;
}

void TFrmTreeCodeMan::addNode(QTreeWidgetItem *parent, const QString &code, const QString &name) {
    const QString path = TreeCodes::ChildPath(basePath(parent), name);
    if (TreeCodes::PathTaken(path, m_kind)) {
        ShowMess(QStringLiteral("同一级中已有名为“%1”的部门，请换一个名称！").arg(name), 0);
        return;
    }
    if (!TreeCodes::AddNode(code, name, path, m_kind))
        return;
    auto *item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, TdmData::NodeLevelRole, code.size());
    item->setData(0, TdmData::NodeCodeRole, code);
    item->setData(0, TdmData::NodeNameRole, name);
    item->setData(0, TdmData::NodeLikeCodeRole, path);
    parent->addChild(item);
    parent->setExpanded(true);
    tvCodes->setCurrentItem(item);
    showImage(parent);
}

void TFrmTreeCodeMan::btnAddSiblingClick() {
    QTreeWidgetItem *node = tvCodes->currentItem();
    if (!node)
        return;
    if (isRoot(node)) {
        ShowMess(QStringLiteral("不能增加根节点的同类节点，该节点只能增加子节点！"), 0);
        return;
    }
    const QString code = TdmData::NextTreeCode(codeOf(node), m_kind, 1);
    if (code.isEmpty())
        return;
    const QString name = askName(QStringLiteral("添加 ") + codeOf(node) + QLatin1Char(' ') + nameOf(node) +
                                 QStringLiteral(" 同类"));
    if (!name.isEmpty())
        addNode(node->parent(), code, name);
}

void TFrmTreeCodeMan::btnAddChildClick() {
    QTreeWidgetItem *node = tvCodes->currentItem();
    if (!node)
        return;
    const QString code = TdmData::NextTreeCode(isRoot(node) ? QString() : codeOf(node), m_kind, 2);
    if (code.isEmpty())
        return;
    const QString name = askName(QStringLiteral("添加 ") + codeOf(node) + QLatin1Char(' ') + nameOf(node) +
                                 QStringLiteral(" 子类"));
    if (!name.isEmpty())
        addNode(node, code, name);
}

void TFrmTreeCodeMan::btnEditClick() {
    QTreeWidgetItem *node = tvCodes->currentItem();
    if (!node)
        return;
    if (isRoot(node)) {
        ShowMess(QStringLiteral("根节点不能修改！"), 0);
        return;
    }
    const QString code = codeOf(node);
    const QString name = askName(QStringLiteral("修改类别 ") + code + QLatin1Char(' ') + nameOf(node) +
                                     QStringLiteral(" 子类"),
                                 nameOf(node));
    if (name.isEmpty())
        return;
    const QString newPath = TreeCodes::ChildPath(basePath(node->parent()), name);
    const QString oldPath = TdmData::GetTreePath(node, 1);
    if (newPath == oldPath)
        return; // the same name: nothing to write
    if (TreeCodes::PathTaken(newPath, m_kind, code)) {
        ShowMess(QStringLiteral("同一级中已有名为“%1”的部门，请换一个名称！").arg(name), 0);
        return;
    }
    if (!TreeCodes::RenameNode(code, m_kind, name, oldPath, newPath))
        return;
    node->setText(0, name);
    node->setData(0, TdmData::NodeNameRole, name);
    for (QTreeWidgetItemIterator it(tvCodes); *it; ++it) {
        const QString path = likeOf(*it);
        if (!isRoot(*it) && TreeCodes::PathIsUnder(path, oldPath))
            (*it)->setData(0, TdmData::NodeLikeCodeRole, TreeCodes::RebasePath(path, oldPath, newPath));
    }
    node->setData(0, TdmData::NodeLikeCodeRole, newPath);
}

void TFrmTreeCodeMan::btnDeleteClick() {
    QTreeWidgetItem *node = tvCodes->currentItem();
    if (!node)
        return;
    if (isRoot(node)) {
        ShowMess(QStringLiteral("根节点不能删除！"), 0);
        return;
    }
    const QString code = codeOf(node);
    const QString question =
        node->childCount() == 0
            ? QStringLiteral("真的要删除当前节点 “") + code + nameOf(node) + QStringLiteral("” 吗？")
            : QStringLiteral("此节点包含有子节点，真的要删除所有的子节点吗？");
    if (ShowMess(question, 1) != 1)
        return;
    if (!TreeCodes::DeleteSubtree(code, m_kind))
        return;
    QTreeWidgetItem *parent = node->parent();
    tvCodes->setCurrentItem(parent);
    delete node;
    showImage(parent);
}

void TFrmTreeCodeMan::btnOkClick() {
    QTreeWidgetItem *node = tvCodes->currentItem();
    if (!node || isRoot(node)) {
        ShowMess(QStringLiteral("不能选择根节点！"), 0);
        return;
    }
    accept();
}

void TFrmTreeCodeMan::itemDoubleClicked(QTreeWidgetItem *item) {
    if (m_mode == 2 && btnOk->isVisible() && item && !isRoot(item)) {
        tvCodes->setCurrentItem(item);
        accept();
    }
}

bool TFrmTreeCodeMan::eventFilter(QObject *watched, QEvent *event) {
    if (watched == tvCodes && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (m_mode == 2 && btnOk->isVisible())
                btnOkClick();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            btnDeleteClick();
            return true;
        }
        if (key->key() == Qt::Key_S && key->modifiers() == Qt::ControlModifier) {
            btnEditClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmTreeCodeMan::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_S && event->modifiers() == Qt::ControlModifier) {
        btnEditClick();
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        btnDeleteClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace codes {

QString PickTreePath(QWidget *parent, const QString &path) {
    TFrmTreeCodeMan w(parent);
    w.ShowTreeCodes(2);
    return w.PickTreePath(path);
}

} // namespace codes
