#include "core/dbgrid.h"
#include "core/gridexport.h"
#include "support/scriptedresponder.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>
#include <zlib.h>

namespace {

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

// Six columns, the fourth hidden: a code, a name, an amount with a sum footer, the hidden one,
// a date and a memo. The cells hold Chinese text, an apostrophe, a comma, quotes, markup, a line
// break and the stored empty date.
void fillFixture(DBGridEh &grid) {
    grid.addColumn({"F_code", "编号", 60});
    grid.addColumn({"F_name", "名称", 100});
    GridColumn amount("F_amount", "金额", 90);
    amount.displayFormat = ",0.00";
    amount.footerType = FooterKind::Sum;
    grid.addColumn(amount);
    GridColumn hidden("F_hidden", "隐藏", 50);
    hidden.visible = false;
    grid.addColumn(hidden);
    grid.addColumn({"F_date", "日期", 80});
    grid.addColumn({"F_mem", "备注", 120});
    grid.setRows({"F_code", "F_name", "F_amount", "F_hidden", "F_date", "F_mem"},
                 {
                     {"001", "张三", 1234.5, "h1", "2024-01-02", "It's"},
                     {"002", "李四, 王五", -3.0, "h2", "1900-08-14", "say \"hi\""},
                     {"003", "A<b>&", QVariant(), "h3", "2024-03-04", "line1\nline2"},
                 });
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint32 le32(const QByteArray &b, qsizetype at) {
    if (at < 0 || at + 4 > b.size())
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 le16(const QByteArray &b, qsizetype at) {
    if (at < 0 || at + 2 > b.size())
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return quint16(p[0] | p[1] << 8);
}

// One member of a zip file (stored or deflated), found through the central directory; empty
// when it is missing or damaged.
QByteArray zipEntry(const QString &zipPath, const QString &entry) {
    const QByteArray zip = readFile(zipPath);
    qsizetype end = zip.size() - 22;
    while (end >= 0 && le32(zip, end) != 0x06054b50)
        --end;
    if (end < 0)
        return QByteArray();
    const int count = le16(zip, end + 10);
    qsizetype at = le32(zip, end + 16);
    for (int i = 0; i < count && le32(zip, at) == 0x02014b50; ++i) {
        const int method = le16(zip, at + 10);
        const quint32 packed = le32(zip, at + 20);
        const quint32 size = le32(zip, at + 24);
        const int nameLen = le16(zip, at + 28);
        const int skip = nameLen + le16(zip, at + 30) + le16(zip, at + 32);
        const qsizetype local = le32(zip, at + 42);
        if (zip.mid(at + 46, nameLen) == entry.toUtf8()) {
            const qsizetype data = local + 30 + le16(zip, local + 26) + le16(zip, local + 28);
            const QByteArray raw = zip.mid(data, packed);
            if (method == 0)
                return raw;
            QByteArray out(qsizetype(size), Qt::Uninitialized);
            z_stream zs{};
            if (method != 8 || inflateInit2(&zs, -MAX_WBITS) != Z_OK)
                return QByteArray();
            zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.constData()));
            zs.avail_in = uInt(raw.size());
            zs.next_out = reinterpret_cast<Bytef *>(out.data());
            zs.avail_out = uInt(out.size());
            const int rc = inflate(&zs, Z_FINISH);
            inflateEnd(&zs);
            return rc == Z_STREAM_END ? out : QByteArray();
        }
        at += 46 + skip;
    }
    return QByteArray();
}

// A sheet read back from an .xlsx file: cell reference ("B2") to its text (shared strings
// resolved) and whether the cell holds a number.
struct Sheet {
    QHash<QString, QString> text;
    QHash<QString, bool> number;
    QHash<QString, int> style;
    QString name;
    QStringList numberFormats;
    QStringList sharedStrings;
};

Sheet readSheet(const QString &path) {
    Sheet s;
    QXmlStreamReader ss(zipEntry(path, "xl/sharedStrings.xml"));
    while (!ss.atEnd())
        if (ss.readNext() == QXmlStreamReader::StartElement && ss.name() == QLatin1String("t"))
            s.sharedStrings << ss.readElementText();
    QXmlStreamReader ws(zipEntry(path, "xl/worksheets/sheet1.xml"));
    QString ref, type;
    while (!ws.atEnd()) {
        ws.readNext();
        if (!ws.isStartElement())
            continue;
        if (ws.name() == QLatin1String("c")) {
            ref = ws.attributes().value("r").toString();
            type = ws.attributes().value("t").toString();
            s.style[ref] = ws.attributes().value("s").toInt();
        } else if (ws.name() == QLatin1String("v")) {
            const QString v = ws.readElementText();
            s.number[ref] = type.isEmpty() || type == QLatin1String("n");
            s.text[ref] = type == QLatin1String("s") ? s.sharedStrings.value(v.toInt()) : v;
        }
    }
    QXmlStreamReader wb(zipEntry(path, "xl/workbook.xml"));
    while (!wb.atEnd())
        if (wb.readNext() == QXmlStreamReader::StartElement && wb.name() == QLatin1String("sheet"))
            s.name = wb.attributes().value("name").toString();
    QXmlStreamReader st(zipEntry(path, "xl/styles.xml"));
    while (!st.atEnd())
        if (st.readNext() == QXmlStreamReader::StartElement && st.name() == QLatin1String("numFmt"))
            s.numberFormats << st.attributes().value("formatCode").toString();
    return s;
}

// Only the dot-less names in dir (the export leaves no temporary file behind).
QStringList filesIn(const QString &dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestGridExport : public QObject {
    Q_OBJECT
private slots:
    void extensionRules_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("xlsx kept") << "list.xlsx" << 1 << "list.xlsx";
        QTest::newRow("upper case kept") << "list.XLSX" << 1 << "list.XLSX";
        QTest::newRow("csv added") << "list" << 5 << "list.csv";
        QTest::newRow("txt then csv") << "list.txt" << 5 << "list.txt.csv";
        QTest::newRow("mixed case csv") << "list.Csv" << 5 << "list.Csv";
        QTest::newRow("name ending in the letters") << "mycsv" << 5 << "mycsv.csv";
        QTest::newRow("xls is not xlsx") << "list.xls" << 1 << "list.xls.xlsx";
        QTest::newRow("htm") << "报表.htm" << 3 << "报表.htm";
        QTest::newRow("rtf") << "报表" << 4 << "报表.rtf";
        QTest::newRow("rtf chosen as text") << "a.rtf" << 2 << "a.rtf.txt";
    }
    void extensionRules() {
        QFETCH(QString, chosen);
        QFETCH(int, filter);
        QFETCH(QString, expected);
        QCOMPARE(exportFileName(chosen, filter), expected);
    }

    void excelNumberFormats_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("excel");
        QTest::newRow("money") << ",0.00"
                               << "#,##0.00";
        QTest::newRow("quantity") << "0.##"
                                  << "0.##";
        QTest::newRow("four places") << ",0.00##"
                                     << "#,##0.00##";
        QTest::newRow("integer with separators") << ",0"
                                                 << "#,##0";
        QTest::newRow("already excel") << "#,##0.00"
                                       << "#,##0.00";
        QTest::newRow("plain") << "0.00"
                               << "0.00";
        QTest::newRow("sections") << ",0.00;-,0.00"
                                  << "#,##0.00;-#,##0.00";
        QTest::newRow("blank") << ""
                               << "";
    }
    void excelNumberFormats() {
        QFETCH(QString, display);
        QFETCH(QString, excel);
        QCOMPARE(excelNumberFormat(display), excel);
    }

    // Text and CSV through the save dialog, byte for byte: BOM, visible columns only, cells as
    // shown, quoting, the footer line.
    void textFormatsByteExact_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("csv") << "list" << 5 << "list.csv"
                             << QByteArray(kBom + "编号,名称,金额,日期,备注\r\n"
                                                  "001,张三,\"1,234.50\",2024-01-02,It's\r\n"
                                                  "002,\"李四, 王五\",-3.00,1900-08-14,\"say \"\"hi\"\"\"\r\n"
                                                  "003,A<b>&,,2024-03-04,\"line1\nline2\"\r\n"
                                                  ",,\"1,231.50\",,\r\n");
        QTest::newRow("csv after txt")
            << "list.txt" << 5 << "list.txt.csv"
            << QByteArray(kBom + "编号,名称,金额,日期,备注\r\n"
                                 "001,张三,\"1,234.50\",2024-01-02,It's\r\n"
                                 "002,\"李四, 王五\",-3.00,1900-08-14,\"say \"\"hi\"\"\"\r\n"
                                 "003,A<b>&,,2024-03-04,\"line1\nline2\"\r\n"
                                 ",,\"1,231.50\",,\r\n");
        QTest::newRow("txt") << "列表" << 2 << "列表.txt"
                             << QByteArray(kBom + "编号\t名称\t金额\t日期\t备注\r\n"
                                                  "001\t张三\t1,234.50\t2024-01-02\tIt's\r\n"
                                                  "002\t李四, 王五\t-3.00\t1900-08-14\tsay \"hi\"\r\n"
                                                  "003\tA<b>&\t\t2024-03-04\tline1 line2\r\n"
                                                  "\t\t1,231.50\t\t\r\n");
    }
    void textFormatsByteExact() {
        QFETCH(QString, chosen);
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        ScriptedResponder r;
        r.fileNames << dir.filePath(chosen);
        r.filterIndexes << filter;
        r.answers << 2;
        DBGridEh grid;
        fillFixture(grid);
        QVERIFY(ExportGrid(&grid, "员工档案信息列表", 1));
        QCOMPARE(filesIn(dir.path()), QStringList{written});
        QCOMPARE(readFile(dir.filePath(written)), expected);
        QCOMPARE(r.texts(), QStringList{"导出 “" + written + "” 成功，打开该文件吗？"});
        QCOMPARE(r.messages.first().kind, 1);
    }

    void htmlIsEscaped() {
        DBGridEh grid;
        fillFixture(grid);
        const QString html = QString::fromUtf8(exportHtmlBytes(snapshotGrid(&grid), "a<b>"));
        QVERIFY(html.contains("<meta charset=\"utf-8\">"));
        QVERIFY(html.contains("<title>a&lt;b&gt;</title>"));
        QVERIFY(html.contains("<td>A&lt;b&gt;&amp;</td>"));
        QVERIFY(html.contains("say &quot;hi&quot;"));
        QVERIFY(html.contains("line1<br>line2"));
        QVERIFY(html.contains("<td align=\"right\">1,234.50</td>"));
        QVERIFY(!html.contains("A<b>&"));
        QVERIFY(!html.contains("隐藏"));
        QCOMPARE(html.count("<tr>"), 5); // titles, three rows, footer
        QCOMPARE(html.count("<th>"), 5);
    }

    void rtfEscapes() {
        GridSnapshot snap;
        ExportColumn c;
        c.title = "名";
        snap.columns << c;
        ExportCell cell;
        cell.text = QString::fromUtf8("{a}\\b￥😀\nx");
        snap.rows << QVector<ExportCell>{cell};
        const QByteArray rtf = exportRtfBytes(snap);
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("\\u21517?")); // 名
        // braces and backslash escaped; U+FFE5 and both halves of U+1F600 as signed numbers
        QVERIFY(rtf.contains("\\{a\\}\\\\b\\u-27?\\u-10179?\\u-8704?\\line x\\cell"));
        QCOMPARE(rtf.count("\\row"), 2);
        for (char ch : rtf)
            QVERIFY(uchar(ch) < 0x80);
        int depth = 0;
        for (int i = 0; i < rtf.size(); ++i) {
            if (rtf.at(i) == '\\') {
                ++i;
                continue;
            }
            depth += rtf.at(i) == '{' ? 1 : rtf.at(i) == '}' ? -1 : 0;
            QVERIFY(depth >= 0);
        }
        QCOMPARE(depth, 0);
    }

    // The workbook written by ExportGrid: titles in row 1, visible columns side by side, numbers
    // as numbers with the Excel format, text as shared strings, the footer line.
    void xlsxThroughSaveDialog() {
        QTemporaryDir dir;
        ScriptedResponder r;
        r.fileNames << dir.filePath("list.xlsx");
        r.answers << 1;
        QList<QUrl> opened;
        setDocumentOpener([&](const QUrl &u) {
            opened << u;
            return true;
        });
        DBGridEh grid;
        fillFixture(grid);
        const bool ok = ExportGrid(&grid, "list", 1);
        setDocumentOpener({});
        QVERIFY(ok);
        QCOMPARE(filesIn(dir.path()), QStringList{"list.xlsx"});
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(dir.filePath("list.xlsx"))});

        const Sheet s = readSheet(dir.filePath("list.xlsx"));
        QCOMPARE(s.name, QString("list"));
        QCOMPARE(s.text.value("A1"), QString("编号"));
        QCOMPARE(s.text.value("D1"), QString("日期")); // the hidden column is left out
        QCOMPARE(s.text.value("E1"), QString("备注"));
        QVERIFY(!s.text.contains("F1"));
        QCOMPARE(s.text.value("A2"), QString("001"));
        QVERIFY(!s.number.value("A2")); // codes stay text
        QVERIFY(s.sharedStrings.contains("张三"));
        QCOMPARE(s.text.value("B3"), QString("李四, 王五"));
        QCOMPARE(s.text.value("E2"), QString("It's"));
        QCOMPARE(s.text.value("E3"), QString("say \"hi\""));
        QCOMPARE(s.text.value("B4"), QString("A<b>&"));
        QVERIFY(s.number.value("C2"));
        QCOMPARE(s.text.value("C2").toDouble(), 1234.5);
        QCOMPARE(s.text.value("C3").toDouble(), -3.0);
        QVERIFY(!s.text.contains("C4")); // an empty amount stays empty
        QVERIFY(s.number.value("C5"));   // footer sum
        QCOMPARE(s.text.value("C5").toDouble(), 1231.5);
        QVERIFY(s.numberFormats.contains("#,##0.00"));
        QVERIFY(s.style.value("C2") != s.style.value("A2"));
    }

    // ExportGridToExcel: hidden columns leave their spreadsheet column empty, the empty date is
    // emptied, no footer line, the grid goes back to its first row, the file is opened.
    void excelSheetKeepsPositions() {
        ScriptedResponder r;
        QList<QUrl> opened;
        setDocumentOpener([&](const QUrl &u) {
            opened << u;
            return true;
        });
        DBGridEh grid;
        fillFixture(grid);
        grid.setCurrentRow(2);
        const QString path = ExportGridToExcel(&grid, "产品工序明细统计", true);
        setDocumentOpener({});
        QVERIFY(!path.isEmpty());
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
        QVERIFY(r.messages.isEmpty());
        QCOMPARE(grid.currentRow(), 0);

        const Sheet s = readSheet(path);
        QFile::remove(path);
        QCOMPARE(s.name, QString("产品工序明细统计"));
        QCOMPARE(s.text.value("A1"), QString("编号"));
        QCOMPARE(s.text.value("C1"), QString("金额"));
        QVERIFY(!s.text.contains("D1")); // hidden column: empty
        QVERIFY(!s.text.contains("D2"));
        QCOMPARE(s.text.value("E1"), QString("日期"));
        QCOMPARE(s.text.value("F1"), QString("备注"));
        QCOMPARE(s.text.value("E2"), QString("2024-01-02"));
        QVERIFY(!s.text.contains("E3")); // 1900-08-14 emptied
        QVERIFY(s.number.value("C2"));
        QCOMPARE(s.text.value("C3").toDouble(), -3.0);
        QVERIFY(!s.text.contains("C5")); // no footer line
        QVERIFY(!s.text.contains("A5"));
        QVERIFY(s.numberFormats.contains("#,##0.00"));
    }

    void excelWithoutProgram() {
        ScriptedResponder r;
        QString tried;
        setDocumentOpener([&](const QUrl &u) {
            tried = u.toLocalFile();
            return false;
        });
        DBGridEh grid;
        fillFixture(grid);
        const QString path = ExportGridToExcel(&grid, "sheet", true);
        setDocumentOpener({});
        QVERIFY(path.isEmpty());
        QVERIFY(!tried.isEmpty());
        QVERIFY(!QFile::exists(tried)); // the unseen workbook is not left behind
        QCOMPARE(r.messages.size(), 1);
        QCOMPARE(r.messages.first().text, QString("系统中的MS Excel软件没有安装或安装不正确！"));
        QCOMPARE(r.messages.first().kind, 3);
    }

    void excelInvisibleIsNotOpened() {
        ScriptedResponder r;
        int calls = 0;
        setDocumentOpener([&](const QUrl &) { return ++calls, true; });
        DBGridEh grid;
        fillFixture(grid);
        const QString path = ExportGridToExcel(&grid, "a/b:c", false);
        setDocumentOpener({});
        QVERIFY(QFile::exists(path));
        QCOMPARE(calls, 0);
        QCOMPARE(readSheet(path).name, QString("a_b_c")); // made a valid sheet name
        QFile::remove(path);
    }

    // A file that cannot be written gives a message naming it, asks nothing and leaves nothing
    // behind; an existing folder of that name stays as it was.
    void writeErrors_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<bool>("folderInTheWay");
        for (int f = 1; f <= 5; ++f) {
            QTest::addRow("missing folder, filter %d", f) << f << false;
            QTest::addRow("folder in the way, filter %d", f) << f << true;
        }
    }
    void writeErrors() {
        QFETCH(int, filter);
        QFETCH(bool, folderInTheWay);
        QTemporaryDir dir;
        const QString name = "out." + exportExtension(filter);
        QString target = dir.filePath("missing/" + name);
        if (folderInTheWay) {
            QVERIFY(QDir(dir.path()).mkdir(name));
            QFile keep(dir.filePath(name + "/keep"));
            QVERIFY(keep.open(QIODevice::WriteOnly));
            keep.close();
            target = dir.filePath(name);
        }
        const QStringList before = filesIn(dir.path());
        ScriptedResponder r;
        r.fileNames << target;
        r.filterIndexes << filter;
        DBGridEh grid;
        fillFixture(grid);
        QVERIFY(!ExportGrid(&grid, "out", 1));
        QCOMPARE(r.messages.size(), 1);
        QCOMPARE(r.messages.first().kind, 3);
        QVERIFY2(r.messages.first().text.startsWith("导出 “" + name + "” 失败："),
                 qPrintable(r.messages.first().text));
        QCOMPARE(filesIn(dir.path()), before);
        if (folderInTheWay)
            QCOMPARE(filesIn(dir.filePath(name)), QStringList{"keep"});
    }

    // Exporting again over an existing file replaces it whole.
    void replacesExistingFile_data() {
        QTest::addColumn<int>("filter");
        for (int f = 1; f <= 5; ++f)
            QTest::addRow("filter %d", f) << f;
    }
    void replacesExistingFile() {
        QFETCH(int, filter);
        QTemporaryDir dir;
        const QString target = dir.filePath("old." + exportExtension(filter));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        ScriptedResponder r;
        r.fileNames << target;
        r.filterIndexes << filter;
        r.answers << 2;
        DBGridEh grid;
        fillFixture(grid);
        QVERIFY(ExportGrid(&grid, "old", 1));
        QCOMPARE(filesIn(dir.path()), QStringList{"old." + exportExtension(filter)});
        const QByteArray bytes = readFile(target);
        QVERIFY(!bytes.contains("xxxxxxxx"));
        QVERIFY(bytes.size() < 100000);
    }

    // A name completed with its extension may meet an existing file: replaced only on yes.
    void completedNameAsksBeforeReplacing() {
        QTemporaryDir dir;
        QFile old(dir.filePath("list.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        ScriptedResponder r;
        DBGridEh grid;
        fillFixture(grid);
        r.fileNames << dir.filePath("list");
        r.filterIndexes << 5;
        r.answers << 2;
        QVERIFY(!ExportGrid(&grid, "list", 1));
        QCOMPARE(r.texts(), QStringList{"文件 “list.csv” 已存在，要替换它吗？"});
        QCOMPARE(readFile(dir.filePath("list.csv")), QByteArray("old"));

        r.clear();
        r.fileNames << dir.filePath("list");
        r.filterIndexes << 5;
        r.answers << 1 << 2;
        QVERIFY(ExportGrid(&grid, "list", 1));
        QCOMPARE(r.texts(), (QStringList{"文件 “list.csv” 已存在，要替换它吗？",
                                         "导出 “list.csv” 成功，打开该文件吗？"}));
        QVERIFY(readFile(dir.filePath("list.csv")).startsWith(kBom + "编号,名称"));
    }

    void cancelledOrNothingToExport() {
        QTemporaryDir dir;
        ScriptedResponder r;
        DBGridEh grid;
        fillFixture(grid);
        QVERIFY(!ExportGrid(&grid, "list", 1)); // dialog cancelled
        QVERIFY(r.messages.isEmpty());
        QCOMPARE(r.dialogTitles.size(), 1);

        DBGridEh empty;
        empty.addColumn({"F_a", "甲"});
        empty.setColumnVisible(0, false);
        r.fileNames << dir.filePath("x.csv");
        QVERIFY(!ExportGrid(&empty, "x", 5));
        QCOMPARE(r.messages.size(), 1);
        QCOMPARE(r.messages.first().kind, 2);
        QCOMPARE(r.dialogTitles.size(), 1); // no dialog for a grid without columns
        QVERIFY(filesIn(dir.path()).isEmpty());
    }

    // A grid with columns but no rows still writes its titles.
    void emptyGridWritesTitles() {
        DBGridEh grid;
        grid.addColumn({"F_a", "甲"});
        grid.addColumn({"F_b", "乙"});
        grid.setRows({"F_a", "F_b"}, {});
        QCOMPARE(exportCsvBytes(snapshotGrid(&grid)), QByteArray(kBom + "甲,乙\r\n"));
    }
};

REGISTER_TEST(TestGridExport)
#include "tst_export.moc"
