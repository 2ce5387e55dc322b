#include "core/report.h"
#include "core/session.h"
#include "core/ureportdesigner.h"
#include "core/ureportpreview.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

ReportData designData(bool withRows) {
    QList<QVariantList> rows;
    if (withRows)
        rows = {{QStringLiteral("001"), QStringLiteral("张三")},
                {QStringLiteral("002"), QStringLiteral("李四")}};
    ReportData data(
        ReportDataSet(QStringLiteral("frxDM"), {QStringLiteral("F_code"), QStringLiteral("F_name")}, rows));
    data.add(ReportDataSet(QStringLiteral("frxDD"), {QStringLiteral("F_gxName")}));
    return data;
}

QVariant designValues(const QString &name) {
    if (name == QLatin1String("memoDate"))
        return QStringLiteral("统计日期：自 启用系统 至 记帐最后一天");
    return QVariant();
}

QString readText(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(f.readAll());
}

QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &group, const QString &name) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *top = tree->topLevelItem(i);
        if (top->text(0) != group)
            continue;
        if (name.isEmpty())
            return top;
        for (int j = 0; j < top->childCount(); ++j)
            if (top->child(j)->text(0) == name)
                return top->child(j);
    }
    return nullptr;
}

QStringList childNames(QTreeWidgetItem *item) {
    QStringList names;
    for (int j = 0; item && j < item->childCount(); ++j)
        names << item->child(j)->text(0);
    return names;
}

// Double-clicks a field list item as the user would.
void doubleClick(QTreeWidget *tree, QTreeWidgetItem *item) {
    tree->scrollToItem(item);
    const QRect r = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

class TestReportDesigner : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_qr;
    QStringList m_dialogs;

    QString templatePath(const QString &name) const { return QDir(m_qr.path()).filePath(name + ".fr3"); }

private slots:
    void init() {
        setReportFolder(m_qr.path());
        m_dialogs.clear();
        setReportDialogRunner([this](QDialog *dlg) { m_dialogs << dlg->metaObject()->className(); });
    }
    void cleanup() {
        setReportDialogRunner({});
        setReportFolder(QString());
    }

    // The field list shows every data set's columns, the shared and the window's variables.
    void fieldListAndInsertion() {
        TestDb db;
        TfrmReportDesigner dlg(templatePath("frList"), designData(false), designValues,
                               {"memoCaption", "MEMODATE"});
        QVERIFY(dlg.load());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTreeWidget *tree = dlg.fieldList();
        QCOMPARE(childNames(findItem(tree, "frxDM", {})),
                 (QStringList{QStringLiteral("F_code"), QStringLiteral("F_name"), QStringLiteral("_line")}));
        QCOMPARE(childNames(findItem(tree, "frxDD", {})),
                 (QStringList{QStringLiteral("F_gxName"), QStringLiteral("_line")}));
        QCOMPARE(childNames(findItem(tree, QStringLiteral("自定义变量"), {})),
                 (QStringList{QStringLiteral("memoDate"), QStringLiteral("sCurKHname"),
                              QStringLiteral("memoCaption")}));
        QVERIFY(findItem(tree, QStringLiteral("函数"), QStringLiteral("MoneyMinToBig")));

        dlg.editor()->setPlainText(QStringLiteral("<p>ab</p>"));
        QTextCursor c = dlg.editor()->textCursor();
        c.setPosition(4); // between a and b
        dlg.editor()->setTextCursor(c);
        doubleClick(tree, findItem(tree, "frxDM", "F_name"));
        QCOMPARE(dlg.editor()->toPlainText(), QStringLiteral("<p>a{{F_name}}b</p>"));
        // a function goes in as a section with the cursor inside it
        dlg.insertItem(findItem(tree, QStringLiteral("函数"), QStringLiteral("MoneyMinToBig")));
        dlg.insertItem(findItem(tree, "frxDM", "F_code"));
        QCOMPARE(dlg.editor()->toPlainText(),
                 QStringLiteral("<p>a{{F_name}}{{#MoneyMinToBig}}{{F_code}}{{/MoneyMinToBig}}b</p>"));
        QVERIFY(dlg.isModified());
        db.responder.answers.enqueue(2); // give the changes up
        dlg.reject();
        QVERIFY(!QFileInfo::exists(templatePath("frList")));
    }

    // Edits are rendered into the preview after a moment; faults go to the status line only.
    void livePreview() {
        TestDb db;
        session().CompanyName = QStringLiteral("蓝河制衣厂");
        TfrmReportDesigner dlg(templatePath("frLive"), designData(true), designValues);
        QVERIFY(dlg.load());
        dlg.show();
        dlg.editor()->selectAll();
        QTest::keyClicks(dlg.editor(), QStringLiteral("{{sCurKHname}}:{{#frxDM}}[{{F_name}}]{{/frxDM}}"));
        QTRY_COMPARE(dlg.preview()->toPlainText(), QStringLiteral("蓝河制衣厂:[张三][李四]"));
        QTest::keyClicks(dlg.editor(), QStringLiteral("{{#frxDD}}"));
        QTRY_VERIFY(dlg.statusLine()->text().contains(QStringLiteral("没有结束标记")));
        QCOMPARE(dlg.preview()->toPlainText(),
                 QStringLiteral("蓝河制衣厂:[张三][李四]")); // last good page stays
        QVERIFY(db.responder.messages.isEmpty());
        QTest::keyClicks(dlg.editor(), QStringLiteral("{{/frxDD}}"));
        QTRY_VERIFY(!dlg.statusLine()->text().contains(QStringLiteral("错误")));
        db.responder.answers.enqueue(2);
        dlg.reject();
    }

    // "保存" writes the edited text back to the same file; the file is left alone until then.
    void saveWritesBack() {
        TestDb db;
        const QString path = templatePath("frSave");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<p>旧的</p>");
        }
        TfrmReportDesigner dlg(path, designData(true), designValues);
        QVERIFY(dlg.load());
        dlg.show();
        QCOMPARE(dlg.editor()->toPlainText(), QStringLiteral("<p>旧的</p>"));
        QVERIFY(!dlg.isModified());
        dlg.editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(dlg.editor(), QStringLiteral("{{memoDate}}"));
        QCOMPARE(readText(path), QStringLiteral("<p>旧的</p>"));
        QTest::mouseClick(dlg.saveButton(), Qt::LeftButton);
        QCOMPARE(readText(path), QStringLiteral("<p>旧的</p>{{memoDate}}"));
        QVERIFY(!dlg.isModified());
        QVERIFY(db.responder.messages.isEmpty());
        // nothing left to save: closing asks nothing
        QSignalSpy rejected(&dlg, &QDialog::rejected);
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
        QCOMPARE(rejected.count(), 1);
        QVERIFY(db.responder.messages.isEmpty());
    }

    // Closing with unsaved changes asks; yes saves, no leaves the file as it was.
    void closeAsksToSave_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("yes saves") << 1 << "<p>x</p>!";
        QTest::newRow("no discards") << 2 << "<p>x</p>";
    }
    void closeAsksToSave() {
        QFETCH(int, answer);
        QFETCH(QString, expected);
        TestDb db;
        const QString path = templatePath("frClose");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("<p>x</p>");
        }
        TfrmReportDesigner dlg(path, designData(false), {});
        QVERIFY(dlg.load());
        dlg.show();
        dlg.editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(dlg.editor(), QStringLiteral("!"));
        db.responder.answers.enqueue(answer);
        QSignalSpy rejected(&dlg, &QDialog::rejected);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(db.responder.messages.size(), 1);
        QCOMPARE(db.responder.messages.at(0).kind, 1);
        QCOMPARE(readText(path), expected);
    }

    // A missing template starts from the skeleton; saving creates the file and its folder.
    void missingTemplateStartsFromSkeleton() {
        TestDb db;
        const QString path = QDir(m_qr.path()).filePath(QStringLiteral("new/frNew.fr3"));
        TfrmReportDesigner dlg(path, designData(false), designValues);
        QVERIFY(dlg.load());
        QCOMPARE(dlg.editor()->toPlainText(), reportSkeleton());
        QVERIFY(dlg.statusLine()->text().contains(path));
        QVERIFY(!dlg.isModified());
        QVERIFY(dlg.save());
        QCOMPARE(readText(path), reportSkeleton());
        QVERIFY(db.responder.messages.isEmpty());
    }

    // A file that cannot be written is named in one error message; the changes stay unsaved.
    void saveFailureNamesTheFile() {
        TestDb db;
        QTemporaryDir dir;
        {
            QFile blocker(dir.filePath(QStringLiteral("Qr")));
            QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        }
        const QString path = dir.filePath(QStringLiteral("Qr/frFail.fr3"));
        TfrmReportDesigner dlg(path, designData(false), {});
        QVERIFY(dlg.load());
        dlg.show();
        QTest::keyClicks(dlg.editor(), QStringLiteral("x"));
        QTest::mouseClick(dlg.saveButton(), Qt::LeftButton);
        QCOMPARE(db.responder.messages.size(), 1);
        QCOMPARE(db.responder.messages.at(0).kind, 3);
        QVERIFY2(db.responder.messages.at(0).text.contains(path),
                 qPrintable(db.responder.messages.at(0).text));
        QVERIFY(dlg.isModified());
        // asked to save on close, the failed save keeps the designer open
        db.responder.clear();
        db.responder.answers.enqueue(1);
        QSignalSpy rejected(&dlg, &QDialog::rejected);
        dlg.reject();
        QCOMPARE(rejected.count(), 0);
        QCOMPARE(db.responder.messages.size(), 2);
        db.responder.answers.enqueue(2);
        dlg.reject();
        QCOMPARE(rejected.count(), 1);
    }

    // DesignReport opens the designer even without rows; its preview shows the same page.
    void designReportOpensWithoutRows() {
        TestDb db;
        DesignReport(QStringLiteral("frNone"), designData(false), designValues, nullptr,
                     {QStringLiteral("memoCaption")});
        QCOMPARE(m_dialogs, QStringList{QStringLiteral("TfrmReportDesigner")});
        QVERIFY(db.responder.messages.isEmpty());

        TfrmReportDesigner dlg(templatePath("frNone"), designData(true), designValues);
        QVERIFY(dlg.load());
        dlg.editor()->setPlainText(QStringLiteral("{{memoDate}}"));
        QTest::mouseClick(dlg.printPreviewButton(), Qt::LeftButton);
        QCOMPARE(m_dialogs.last(), QStringLiteral("TfrmReportPreview"));
        db.responder.answers.enqueue(2);
        dlg.reject();
    }
};

REGISTER_TEST(TestReportDesigner)
#include "tst_reportdesigner.moc"
