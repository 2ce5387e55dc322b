#include "core/database.h"
#include "core/dbgridmodel.h"
#include "core/report.h"
#include "core/session.h"
#include "core/ureportdesigner.h"
#include "core/ureportpreview.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

// Piece-rate rows and a product list: the two data sets most templates are written for.
ReportData sampleData() {
    ReportDataSet dm(
        QStringLiteral("frxDM"),
        {QStringLiteral("F_code"), QStringLiteral("F_name"), QStringLiteral("F_gz119"),
         QStringLiteral("F_date"), QStringLiteral("F_mem")},
        {{QStringLiteral("001"), QStringLiteral("张三"), 1234.56, QStringLiteral("2024-03-05"),
          QStringLiteral("夜班")},
         {QStringLiteral("002"), QStringLiteral("李四"), 1005.0, QStringLiteral("1900-08-14"), QVariant()}});
    ReportDataSet dd(
        QStringLiteral("frxDD"), {QStringLiteral("F_gxName"), QStringLiteral("F_price")},
        {{QStringLiteral("裁剪"), 0.35}, {QStringLiteral("缝纫"), 1.2}, {QStringLiteral("包装"), 0.05}});
    ReportData data(dm);
    data.add(dd);
    return data;
}

// A window's answers: its period caption and one variable of its own.
QVariant windowValues(const QString &name) {
    if (name == QLatin1String("memoDate"))
        return QStringLiteral("生产日期：自 2024年03月01日 至 2024年03月31日");
    if (name == QLatin1String("memoCaption"))
        return QStringLiteral("按员工");
    return QVariant();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_qr;
    QList<QString> m_dialogs; // class names of the dialogs the layer ran
    QString m_previewHtml;
    QString m_previewPath;
    QPageLayout m_previewLayout;

private slots:
    void init() {
        setReportFolder(m_qr.path());
        m_dialogs.clear();
        m_previewHtml.clear();
        setReportDialogRunner([this](QDialog *dlg) {
            m_dialogs << QString::fromLatin1(dlg->metaObject()->className());
            if (auto *p = qobject_cast<TfrmReportPreview *>(dlg)) {
                m_previewHtml = p->html();
                m_previewPath = p->templatePath();
                m_previewLayout = p->printer()->pageLayout();
            }
        });
    }
    void cleanup() {
        setReportDialogRunner({});
        setReportFolder(QString());
    }

    // Each template piece over the sample data, as the report shows it.
    void render_data() {
        QTest::addColumn<QString>("tmpl");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rows and fields") << "{{#frxDM}}[{{_line}} {{F_code}} {{F_name}}]{{/frxDM}}"
                                         << "[1 001 张三][2 002 李四]";
        QTest::newRow("second data set") << "{{#frxDD}}{{F_gxName}}={{F_price}};{{/frxDD}}"
                                         << "裁剪=0.35;缝纫=1.2;包装=0.05;";
        QTest::newRow("field names ignore case") << "{{#FRXdm}}{{f_CODE}},{{/FRXdm}}"
                                                 << "001,002,";
        QTest::newRow("window variables") << "{{memoDate}}|{{memoCaption}}"
                                          << "生产日期：自 2024年03月01日 至 2024年03月31日|按员工";
        QTest::newRow("company name from the session") << "{{sCurKHname}}"
                                                       << "蓝河制衣厂";
        QTest::newRow("variable inside rows") << "{{#frxDD}}{{memoCaption}}{{/frxDD}}"
                                              << "按员工按员工按员工";
        QTest::newRow("unknown variable is empty") << "[{{noSuchThing}}]"
                                                   << "[]";
        QTest::newRow("capitals of a field")
            << "{{#frxDM}}{{#MoneyMinToBig}}{{F_gz119}}{{/MoneyMinToBig}};{{/frxDM}}"
            << "壹千贰佰叁拾肆元伍角陆分;壹千零佰零拾伍元整;";
        QTest::newRow("capitals ignore case") << "{{#moneymintobig}}10.5{{/moneymintobig}}"
                                              << "壹拾零元伍角零分";
        QTest::newRow("capitals of a text leave it") << "{{#MoneyMinToBig}}abc{{/MoneyMinToBig}}"
                                                     << "abc";
        QTest::newRow("money format") << "{{#frxDM}}{{#FmtTotal}}{{F_gz119}}{{/FmtTotal}};{{/frxDM}}"
                                      << "1,234.56;1,005.00;";
        QTest::newRow("sum and count") << "{{#Sum}}frxDM.F_gz119{{/Sum}}/{{#Count}}frxDD{{/Count}}"
                                       << "2239.56/3";
        QTest::newRow("sets the window did not hand over")
            << "{{#Sum}}frxDetail2.F_x{{/Sum}}/{{#Count}}frxDetail2{{/Count}}"
            << "0/0";
        QTest::newRow("first and last row")
            << "{{#frxDD}}{{#_first}}<{{/_first}}{{F_gxName}}{{^_last}},{{/_last}}{{/frxDD}}>"
            << "<裁剪,缝纫,包装>";
        QTest::newRow("sum of the main set in capitals")
            << "{{#MoneyMinToBig}}{{#Sum}}F_gz119{{/Sum}}{{/MoneyMinToBig}}"
            << "贰千贰佰叁拾玖元伍角陆分";
        QTest::newRow("empty date and empty memo print nothing")
            << "{{#frxDM}}<{{F_date}}|{{F_mem}}>{{/frxDM}}"
            << "<2024-03-05|夜班><|>";
        QTest::newRow("section over an empty field is skipped")
            << "{{#frxDM}}{{#F_mem}}备注：{{F_mem}}{{/F_mem}}{{^F_mem}}无{{/F_mem}};{{/frxDM}}"
            << "备注：夜班;无;";
        QTest::newRow("no rows") << "{{#frxDetail1}}x{{/frxDetail1}}{{^frxDetail1}}无数据{{/frxDetail1}}"
                                 << "无数据";
    }
    void render() {
        QFETCH(QString, tmpl);
        QFETCH(QString, expected);
        session().CompanyName = QStringLiteral("蓝河制衣厂");
        QString error = QStringLiteral("stale");
        const QString html = renderReportText(tmpl, sampleData(), windowValues, &error);
        QCOMPARE(error, QString());
        QCOMPARE(html, expected);
    }

    // The window is asked by name, once per rendering, and its answer wins over the defaults.
    void windowAnswersVariables() {
        session().CompanyName = QStringLiteral("蓝河制衣厂");
        QStringList asked;
        const ReportValues values = [&asked](const QString &name) -> QVariant {
            asked << name;
            if (name == QLatin1String("sCurKHname"))
                return QStringLiteral("分厂");
            return QVariant();
        };
        const QString html =
            renderReportText(QStringLiteral("{{#frxDM}}{{sCurKHname}}{{memodate}}{{/frxDM}}{{Date}}"),
                             sampleData(), values, nullptr);
        QCOMPARE(html,
                 QStringLiteral("分厂分厂") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        // memodate reaches the window in its usual spelling
        QCOMPARE(asked, (QStringList{QStringLiteral("sCurKHname"), QStringLiteral("memoDate"),
                                     QStringLiteral("Date")}));
        QCOMPARE(reportVariable({}, QStringLiteral("memoDate")), QVariant(QString()));
        QVERIFY(!reportVariable({}, QStringLiteral("memoCaption")).isValid());
    }

    // Typed values reach the page as typed: HTML characters are escaped, memo lines kept.
    void fieldTextIsEscaped() {
        ReportDataSet dm(QStringLiteral("frxDM"), {QStringLiteral("F_name"), QStringLiteral("F_mem")},
                         {{QStringLiteral("O'Brien <b>&\"x\""), QStringLiteral("第一行\n第二行")}});
        const QString html = renderReportText(
            QStringLiteral("<html><body>{{#frxDM}}<p>{{F_name}}</p><p>{{F_mem}}</p>{{/frxDM}}</body></html>"),
            dm, {}, nullptr);
        QVERIFY2(html.contains(QStringLiteral("O&#39;Brien &lt;b&gt;&amp;&quot;x&quot;")), qPrintable(html));
        QVERIFY(!html.contains(QStringLiteral("<b>")));
        QTextDocument doc;
        setReportDocument(&doc, html);
        const QString shown = doc.toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("O'Brien <b>&\"x\"")), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("第一行\u2028第二行")) ||
                     shown.contains(QStringLiteral("第一行\n第二行")),
                 qPrintable(shown));
        // the triple mustache passes HTML on for templates that need it
        QCOMPARE(renderReportText(QStringLiteral("{{#frxDM}}{{{F_name}}}{{/frxDM}}"), dm, {}, nullptr),
                 QStringLiteral("O'Brien <b>&\"x\""));
    }

    void valueTexts_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("money") << QVariant(1234.5) << "1234.5";
        QTest::newRow("whole number double") << QVariant(1005.0) << "1005";
        QTest::newRow("float noise") << QVariant(0.1 + 0.2) << "0.3";
        QTest::newRow("negative") << QVariant(-12.25) << "-12.25";
        QTest::newRow("integer") << QVariant(42) << "42";
        QTest::newRow("null") << QVariant() << "";
        QTest::newRow("empty date text") << QVariant(QStringLiteral("1900-08-14")) << "";
        QTest::newRow("empty timestamp") << QVariant(QStringLiteral("1900-08-14 00:00:00")) << "";
        QTest::newRow("real date") << QVariant(QStringLiteral("2024-03-05")) << "2024-03-05";
        QTest::newRow("text looking like a number") << QVariant(QStringLiteral("0001")) << "0001";
        QTest::newRow("date value") << QVariant(QDate(2024, 3, 5)) << "2024-03-05";
        QTest::newRow("old date value") << QVariant(QDate(1900, 8, 14)) << "";
        QTest::newRow("picture") << QVariant(QByteArray("\xFF\xD8\xFF")) << "";
    }
    void valueTexts() {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(reportValueText(value), text);
    }

    // Faults of a template are reported with what is wrong and where.
    void brokenTemplates_data() {
        QTest::addColumn<QString>("tmpl");
        QTest::addColumn<QString>("fault");
        QTest::newRow("unclosed section") << "<p>x</p>\n{{#frxDM}}\n{{F_code}}\n"
                                          << "段落 {{#frxDM}} 没有结束标记 {{/frxDM}}（第 2 行）";
        QTest::newRow("unopened section") << "a\nb\n{{/frxDM}}"
                                          << "结束标记 {{/frxDM}} 没有对应的开始标记（第 3 行）";
        QTest::newRow("unclosed tag") << "{{F_code"
                                      << "标记缺少结束的 }}（第 1 行）";
        QTest::newRow("sum of a field the set lacks") << "{{#Sum}}frxDM.F_nothing{{/Sum}}"
                                                      << "Sum：数据集 frxDM 没有字段 F_nothing";
    }
    void brokenTemplates() {
        QFETCH(QString, tmpl);
        QFETCH(QString, fault);
        QString error;
        QCOMPARE(renderReportText(tmpl, sampleData(), {}, &error), QString());
        QVERIFY2(error.contains(fault), qPrintable(error));

        // printed, the same fault is one error message naming the file, and no preview
        TestDb db;
        const QString path = QDir(m_qr.path()).filePath(QStringLiteral("frBroken.fr3"));
        writeFile(path, tmpl.toUtf8());
        PrintReport(QStringLiteral("frBroken"), sampleData(), {});
        QCOMPARE(db.responder.messages.size(), 1);
        QCOMPARE(db.responder.messages.at(0).kind, 3);
        QVERIFY2(db.responder.messages.at(0).text.contains(path),
                 qPrintable(db.responder.messages.at(0).text));
        QVERIFY(db.responder.messages.at(0).text.contains(fault));
        QVERIFY(m_dialogs.isEmpty());
    }

    void missingTemplateNamesTheFile() {
        TestDb db;
        PrintReport(QStringLiteral("frNoSuch"), sampleData(), windowValues);
        QCOMPARE(db.responder.messages.size(), 1);
        QCOMPARE(db.responder.messages.at(0).kind, 3);
        QVERIFY(db.responder.messages.at(0).text.contains(
            QDir(m_qr.path()).filePath(QStringLiteral("frNoSuch.fr3"))));
        QVERIFY(m_dialogs.isEmpty());
    }

    // Files this program cannot use are refused with a message naming them, never rendered.
    void unusableFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fault");
        QTest::newRow("not UTF-8") << QByteArray("\xC9\xFA\xB2\xFA{{memoDate}}") << "UTF-8";
        QTest::newRow("other engine")
            << QByteArray("<?xml version=\"1.0\"?>\n<TfrxReport Version=\"4\">") << "其他报表程序";
    }
    void unusableFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fault);
        TestDb db;
        const QString path = QDir(m_qr.path()).filePath(QStringLiteral("frOld.fr3"));
        writeFile(path, bytes);
        PrintReport(QStringLiteral("frOld"), sampleData(), {});
        DesignReport(QStringLiteral("frOld"), sampleData(), {});
        QCOMPARE(db.responder.messages.size(), 2);
        for (const auto &m : db.responder.messages) {
            QCOMPARE(m.kind, 3);
            QVERIFY2(m.text.contains(path) && m.text.contains(fault), qPrintable(m.text));
        }
        QVERIFY(m_dialogs.isEmpty());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
    }

    void emptyDataSetPrintsNothing_data() {
        QTest::addColumn<bool>("templateExists");
        QTest::newRow("template present") << true;
        QTest::newRow("template missing") << false;
    }
    void emptyDataSetPrintsNothing() {
        QFETCH(bool, templateExists);
        TestDb db;
        if (templateExists)
            writeFile(QDir(m_qr.path()).filePath(QStringLiteral("frEmpty.fr3")),
                      "{{#frxDM}}{{F_code}}{{/frxDM}}");
        ReportData data(ReportDataSet(QStringLiteral("frxDM"), {QStringLiteral("F_code")}));
        data.add(sampleData().sets().at(1)); // a detail set with rows does not count
        PrintReport(QStringLiteral("frEmpty"), data, windowValues);
        PrintReport(QStringLiteral("frEmpty"), ReportData(), windowValues);
        QVERIFY(db.responder.messages.isEmpty());
        QVERIFY(m_dialogs.isEmpty());
    }

    // A report with rows is rendered into the preview on the page its template asks for.
    void printShowsPreview() {
        TestDb db;
        session().CompanyName = QStringLiteral("蓝河制衣厂");
        const QString path = QDir(m_qr.path()).filePath(QStringLiteral("frSCJJtotalTJ.fr3"));
        writeFile(
            path,
            "<html><head><meta content=\"landscape\" name=\"page-orientation\">"
            "<meta name='page-margins' content='15'></head><body>"
            "<h2>{{sCurKHname}}</h2><p>{{memoDate}}</p>{{#frxDM}}<p>{{F_name}}</p>{{/frxDM}}</body></html>");
        // the window may spell the name in another case and with the extension
        PrintReport(QStringLiteral("frSCJJTotalTj.fr3"), sampleData(), windowValues);
        QVERIFY(db.responder.messages.isEmpty());
        QCOMPARE(m_dialogs, QList<QString>{QStringLiteral("TfrmReportPreview")});
        QCOMPARE(m_previewPath, path);
        QVERIFY(m_previewHtml.contains(QStringLiteral("<h2>蓝河制衣厂</h2>")));
        QVERIFY(m_previewHtml.contains(QStringLiteral("<p>张三</p><p>李四</p>")));
        QCOMPARE(m_previewLayout.orientation(), QPageLayout::Landscape);
        QCOMPARE(m_previewLayout.pageSize().id(), QPageSize::A4);
        QCOMPARE(m_previewLayout.margins(QPageLayout::Millimeter).left(), 15.0);
    }

    void pageLayouts_data() {
        QTest::addColumn<QString>("head");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QMarginsF>("margins");
        const QMarginsF ten(10, 10, 10, 10);
        QTest::newRow("defaults") << "" << int(QPageSize::A4) << int(QPageLayout::Portrait) << ten;
        QTest::newRow("A3 landscape")
            << "<meta name=\"page-size\" content=\"a3\"><meta name=\"page-orientation\" "
               "content=\"Landscape\">"
            << int(QPageSize::A3) << int(QPageLayout::Landscape) << ten;
        QTest::newRow("four margins")
            << "<meta name=\"page-margins\" content=\"5 6 7 8\">" << int(QPageSize::A4)
            << int(QPageLayout::Portrait) << QMarginsF(8, 5, 6, 7);
        QTest::newRow("bad values keep defaults")
            << "<meta name=\"page-size\" content=\"Z9\"><meta name=\"page-margins\" content=\"abc\">"
            << int(QPageSize::A4) << int(QPageLayout::Portrait) << ten;
    }
    void pageLayouts() {
        QFETCH(QString, head);
        QFETCH(int, size);
        QFETCH(int, orientation);
        QFETCH(QMarginsF, margins);
        const QPageLayout layout =
            reportPageLayout(QStringLiteral("<html><head>%1</head><body></body></html>").arg(head));
        QCOMPARE(int(layout.pageSize().id()), size);
        QCOMPARE(int(layout.orientation()), orientation);
        QCOMPARE(layout.margins(QPageLayout::Millimeter), margins);
    }

    // A rendered report written as PDF, with the Chinese font embedded.
    void pdfExport() {
        TestDb db;
        const QString html = renderReportText(
            QStringLiteral("<html><body><h2>{{sCurKHname}} 工资表</h2>"
                           "{{#frxDM}}<p{{^_last}} style=\"page-break-after: always\"{{/_last}}>{{F_name}} "
                           "{{#MoneyMinToBig}}{{F_gz119}}{{/MoneyMinToBig}}</p>{{/frxDM}}</body></html>"),
            sampleData(), {}, nullptr);
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("工资表.pdf"));
        QString error;
        QVERIFY2(exportReportPdf(html, file, &error), qPrintable(error));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.size() > 1000);
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY2(bytes.contains("NotoSansCJK"), "the Chinese text is not set in Noto Sans CJK");
        // one page per employee row (a page break after every row but the last)
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
                 2);

        // through the preview's own export
        TfrmReportPreview preview(QStringLiteral("frX.fr3"), html);
        QVERIFY(preview.exportPdfAction());
        const QString second = out.filePath(QStringLiteral("second.pdf"));
        QVERIFY(preview.exportPdf(second));
        QVERIFY(QFileInfo(second).size() > 0);
        QVERIFY(db.responder.messages.isEmpty());
    }

    void pdfExportFailureNamesTheFile() {
        TestDb db;
        QTemporaryDir out;
        writeFile(out.filePath(QStringLiteral("plain.txt")), "x");
        const QString bad = out.filePath(QStringLiteral("plain.txt/report.pdf"));
        QString error;
        QVERIFY(!exportReportPdf(QStringLiteral("<p>x</p>"), bad, &error));
        QVERIFY2(error.contains(bad), qPrintable(error));
        TfrmReportPreview preview(QStringLiteral("frX.fr3"), QStringLiteral("<p>x</p>"));
        QVERIFY(!preview.exportPdf(bad));
        QCOMPARE(db.responder.messages.size(), 1);
        QCOMPARE(db.responder.messages.at(0).kind, 3);
        QVERIFY(db.responder.messages.at(0).text.contains(bad));
        // the export action asks for a name and appends the extension
        const QString named = out.filePath(QStringLiteral("named"));
        db.responder.clear();
        db.responder.fileNames.enqueue(named);
        db.responder.answers.enqueue(2); // do not open it
        preview.exportPdfAction()->trigger();
        QVERIFY(QFileInfo::exists(named + QStringLiteral(".pdf")));
        QCOMPARE(db.responder.messages.size(), 1);
        QCOMPARE(db.responder.messages.at(0).kind, 1);
    }

    // Every data set source gives all of its rows with the result's column names.
    void dataSetSources() {
        TestDb db;
        QVERIFY(db.ok());
        QSqlQuery q(Database::db());
        QVERIFY(q.exec(QStringLiteral("create temp table tRep (F_code text, F_price real)")));
        for (int i = 1; i <= 5; ++i) {
            QVERIFY(q.prepare(QStringLiteral("insert into tRep values (?, ?)")));
            q.addBindValue(QStringLiteral("00%1").arg(i));
            q.addBindValue(i * 1.5);
            QVERIFY(q.exec());
        }
        QSqlQuery sel(Database::db());
        QVERIFY(sel.exec(QStringLiteral("select F_code, F_price from tRep order by F_code")));
        QVERIFY(sel.next() && sel.next()); // the window already walked into the result
        const ReportDataSet set = ReportDataSet::fromQuery(sel);
        QCOMPARE(set.name, QStringLiteral("frxDM"));
        QCOMPARE(set.columns, (QStringList{QStringLiteral("F_code"), QStringLiteral("F_price")}));
        QCOMPARE(set.rowCount(), 5);
        QCOMPARE(set.rows.first().first().toString(), QStringLiteral("001"));
        QCOMPARE(set.columnIndex(QStringLiteral("f_PRICE")), 1);

        const ReportDataSet maps = ReportDataSet::fromMaps(
            {{{QStringLiteral("b"), 1}, {QStringLiteral("a"), 2}}, {{QStringLiteral("c"), 3}}}, {},
            QStringLiteral("frxDetail1"));
        QCOMPARE(maps.columns, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
        QCOMPARE(maps.rows.at(1), (QVariantList{QVariant(), QVariant(), 3}));

        // a grid's rows in the order the grid shows them
        DBGridModel model;
        model.setRows({QStringLiteral("F_code"), QStringLiteral("F_name")},
                      {{QStringLiteral("001"), QStringLiteral("甲")},
                       {QStringLiteral("003"), QStringLiteral("丙")},
                       {QStringLiteral("002"), QStringLiteral("乙")}});
        model.setSortText(QStringLiteral("F_code DESC"));
        const ReportDataSet shown = ReportDataSet::fromModel(model, QStringLiteral("frxMain"));
        QCOMPARE(shown.name, QStringLiteral("frxMain"));
        QCOMPARE(shown.columns, (QStringList{QStringLiteral("F_code"), QStringLiteral("F_name")}));
        QCOMPARE(renderReportText(QStringLiteral("{{#frxMain}}{{F_name}}{{/frxMain}}"), shown, {}, nullptr),
                 QStringLiteral("丙乙甲"));

        // frxDM always comes first, a set of the same name is replaced
        ReportData data;
        data.add(maps);
        data.add(set);
        data.add(ReportDataSet(QStringLiteral("FRXDETAIL1"), {QStringLiteral("x")}));
        QCOMPARE(data.sets().size(), 2);
        QCOMPARE(data.sets().at(0).name, QStringLiteral("frxDM"));
        QCOMPARE(data.find(QStringLiteral("frxdetail1"))->columns, QStringList{QStringLiteral("x")});
        QCOMPARE(data.mainRowCount(), 5);
    }

    // The templates shipped with the program are installed beside it and all render.
    void installedTemplatesRender() {
        setReportFolder(QString());
        const QDir qr(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Qr")));
        const QStringList files = qr.entryList({QStringLiteral("*.fr3")}, QDir::Files);
        QVERIFY2(files.contains(QStringLiteral("frSCJJdetailTj.fr3")), qPrintable(qr.path()));
        for (const QString &f : files) {
            QString error;
            renderReport(qr.filePath(f), ReportData(), windowValues, &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        QCOMPARE(reportTemplatePath(QStringLiteral("frscjjDETAILtj")),
                 qr.filePath(QStringLiteral("frSCJJdetailTj.fr3")));
        QCOMPARE(renderReportText(reportSkeleton(), sampleData(), {}, nullptr).isEmpty(), false);
    }
};

REGISTER_TEST(TestReport)
#include "tst_report.moc"
