#include "ureportdesigner.h"

#include "keltrin.h"
#include "ureportpreview.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPreviewDelayMs = 400;

QTreeWidgetItem *addItem(QTreeWidgetItem *parent, const QString &text, const QString &insert,
                         int cursorBack = 0, const QString &tip = QString()) {
    auto *item = new QTreeWidgetItem(parent, QStringList{text});
    item->setData(0, TfrmReportDesigner::InsertTextRole, insert);
    item->setData(0, TfrmReportDesigner::CursorBackRole, cursorBack);
    if (!tip.isEmpty())
        item->setToolTip(0, tip);
    return item;
}

// "{{#name}}inner{{/name}}" with the cursor left before the end tag.
QTreeWidgetItem *addSection(QTreeWidgetItem *parent, const QString &name, const QString &inner,
                            const QString &tip) {
    const QString end = QStringLiteral("{{/%1}}").arg(name);
    return addItem(parent, name, QStringLiteral("{{#%1}}%2").arg(name, inner) + end, int(end.size()), tip);
}

} // namespace

TfrmReportDesigner::TfrmReportDesigner(const QString &templatePath, const ReportData &data,
                                       const ReportValues &values, const QStringList &windowVariables,
                                       QWidget *parent)
    : QDialog(parent), m_path(templatePath), m_data(data), m_values(values) {
    setWindowTitle(QStringLiteral("报表设计 - %1").arg(QFileInfo(templatePath).fileName()));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setMinimumSize(800, 500);

    m_fields = new QTreeWidget;
    m_fields->setHeaderLabel(QStringLiteral("字段和变量（双击插入）"));
    m_fields->header()->setStretchLastSection(true);

    m_editor = new QPlainTextEdit;
    m_editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->setTabChangesFocus(false);

    m_preview = new QTextBrowser;
    m_preview->setOpenLinks(false);
    m_preview->document()->setDefaultFont(reportFont());

    auto *split = new QSplitter(Qt::Horizontal);
    split->addWidget(m_fields);
    split->addWidget(m_editor);
    split->addWidget(m_preview);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 3);
    split->setStretchFactor(2, 3);

    m_status = new QLabel;
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setWordWrap(true);
    m_btnPreview = new QPushButton(QStringLiteral("打印预览"));
    m_btnSave = new QPushButton(QStringLiteral("保存"));
    m_btnClose = new QPushButton(QStringLiteral("关闭"));
    m_btnPreview->setAutoDefault(false);
    m_btnSave->setAutoDefault(false);
    m_btnClose->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_btnPreview);
    buttons->addWidget(m_btnSave);
    buttons->addWidget(m_btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(kPreviewDelayMs);
    connect(m_previewTimer, &QTimer::timeout, this, &TfrmReportDesigner::refreshPreview);
    connect(m_editor, &QPlainTextEdit::textChanged, m_previewTimer, qOverload<>(&QTimer::start));
    connect(m_fields, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { insertItem(item); });
    connect(m_btnSave, &QPushButton::clicked, this, [this] { save(); });
    connect(m_btnClose, &QPushButton::clicked, this, &TfrmReportDesigner::reject);
    connect(m_btnPreview, &QPushButton::clicked, this, &TfrmReportDesigner::showPrintPreview);

    buildFieldList(windowVariables);
}

void TfrmReportDesigner::buildFieldList(const QStringList &windowVariables) {
    m_fields->clear();
    for (const ReportDataSet &set : m_data.sets()) {
        auto *top = new QTreeWidgetItem(m_fields, QStringList{set.name});
        const QString end = QStringLiteral("{{/%1}}").arg(set.name);
        top->setData(0, InsertTextRole, QStringLiteral("{{#%1}}\n\n").arg(set.name) + end);
        top->setData(0, CursorBackRole, int(end.size()) + 1);
        top->setToolTip(
            0, QStringLiteral("数据集 %1：%2 行；双击插入逐行重复的段落").arg(set.name).arg(set.rowCount()));
        for (const QString &col : set.columns)
            addItem(top, col, QStringLiteral("{{%1}}").arg(col));
        addItem(top, QStringLiteral("_line"), QStringLiteral("{{_line}}"), 0,
                QStringLiteral("行号，从 1 开始"));
        top->setExpanded(true);
    }

    auto *vars = new QTreeWidgetItem(m_fields, QStringList{QStringLiteral("自定义变量")});
    for (const QString &name : reportVariableNames(windowVariables))
        addItem(vars, name, QStringLiteral("{{%1}}").arg(name));
    vars->setExpanded(true);

    auto *sys = new QTreeWidgetItem(m_fields, QStringList{QStringLiteral("系统变量")});
    addItem(sys, QStringLiteral("Date"), QStringLiteral("{{Date}}"), 0,
            QStringLiteral("打印日期 yyyy-MM-dd"));

    auto *fns = new QTreeWidgetItem(m_fields, QStringList{QStringLiteral("函数")});
    addSection(fns, QStringLiteral("MoneyMinToBig"), QString(), QStringLiteral("金额小写转大写"));
    addSection(fns, QStringLiteral("FmtTotal"), QString(), QStringLiteral("按金额格式显示数字"));
    addSection(fns, QStringLiteral("FmtPrice"), QString(), QStringLiteral("按单价格式显示数字"));
    addSection(fns, QStringLiteral("FmtAmount"), QString(), QStringLiteral("按数量格式显示数字"));
    addSection(fns, QStringLiteral("Sum"), QString::fromLatin1(kReportMainSet) + QLatin1Char('.'),
               QStringLiteral("数据集一列的合计：数据集.字段"));
    addSection(fns, QStringLiteral("Count"), QString::fromLatin1(kReportMainSet),
               QStringLiteral("数据集的行数"));
    fns->setExpanded(true);
}

bool TfrmReportDesigner::load() {
    QString text;
    if (!QFileInfo::exists(m_path)) {
        text = reportSkeleton();
    } else {
        QString error;
        if (!readReportTemplate(m_path, &text, &error)) {
            ShowMess(error, 3);
            return false;
        }
    }
    m_editor->setPlainText(text);
    m_editor->document()->setModified(false);
    refreshPreview();
    if (!QFileInfo::exists(m_path) && !m_statusFault)
        showStatus(QStringLiteral("新模板，保存时创建：%1").arg(QDir::toNativeSeparators(m_path)), false);
    return true;
}

bool TfrmReportDesigner::save() {
    const QString folder = QFileInfo(m_path).absolutePath();
    QString why;
    if (!QDir().mkpath(folder)) {
        why = QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(folder));
    } else {
        QSaveFile file(m_path);
        if (!file.open(QIODevice::WriteOnly) || file.write(m_editor->toPlainText().toUtf8()) < 0 ||
            !file.commit())
            why = file.errorString();
    }
    if (!why.isEmpty()) {
        ShowMess(QStringLiteral("报表模板保存失败：%1\n%2").arg(QDir::toNativeSeparators(m_path), why), 3);
        return false;
    }
    m_editor->document()->setModified(false);
    showStatus(QStringLiteral("已保存：%1").arg(QDir::toNativeSeparators(m_path)), false);
    return true;
}

bool TfrmReportDesigner::isModified() const {
    return m_editor->document()->isModified();
}

void TfrmReportDesigner::refreshPreview() {
    m_previewTimer->stop();
    QString error;
    const QString html = renderReportText(m_editor->toPlainText(), m_data, m_values, &error);
    if (!error.isEmpty()) {
        showStatus(QStringLiteral("模板有错误：%1").arg(error), true);
        return;
    }
    QScrollBar *bar = m_preview->verticalScrollBar();
    const int pos = bar->value();
    // the preview is as wide as the page's printable width
    m_preview->setLineWrapMode(QTextEdit::FixedPixelWidth);
    m_preview->setLineWrapColumnOrWidth(
        reportPageLayout(html).paintRectPixels(m_preview->logicalDpiX()).width());
    m_preview->setHtml(html);
    bar->setValue(pos);
    showStatus(QStringLiteral("模板：%1").arg(QDir::toNativeSeparators(m_path)), false);
}

void TfrmReportDesigner::insertItem(QTreeWidgetItem *item) {
    if (!item)
        return;
    const QString text = item->data(0, InsertTextRole).toString();
    if (text.isEmpty())
        return;
    QTextCursor cursor = m_editor->textCursor();
    cursor.insertText(text);
    const int back = item->data(0, CursorBackRole).toInt();
    if (back > 0)
        cursor.movePosition(QTextCursor::Left, QTextCursor::MoveAnchor, back);
    m_editor->setTextCursor(cursor);
    m_editor->setFocus();
}

void TfrmReportDesigner::reject() {
    if (confirmClose())
        QDialog::reject();
}

bool TfrmReportDesigner::confirmClose() {
    if (!isModified())
        return true;
    if (ShowMess(QStringLiteral("报表模板已修改，是否保存？"), 1) != 1)
        return true;
    return save();
}

void TfrmReportDesigner::showPrintPreview() {
    QString error;
    const QString html = renderReportText(m_editor->toPlainText(), m_data, m_values, &error);
    if (!error.isEmpty()) {
        ShowMess(QStringLiteral("报表模板有错误：%1\n%2").arg(QDir::toNativeSeparators(m_path), error), 3);
        return;
    }
    TfrmReportPreview preview(m_path, html, this);
    DispFormPos(&preview, 2);
    runReportDialog(&preview);
}

void TfrmReportDesigner::showStatus(const QString &text, bool fault) {
    m_statusFault = fault;
    m_status->setText(text);
    m_status->setStyleSheet(fault ? QStringLiteral("color: red;") : QString());
}
