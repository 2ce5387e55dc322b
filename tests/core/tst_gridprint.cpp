#include "core/dbgrid.h"
#include "core/gridprint.h"
#include "support/scriptedresponder.h"
#include "support/testregistry.h"

#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A grid of rows with a given number of columns of a given width; the first column holds the
// row number, the others Chinese text (long when asked).
void fillGrid(DBGridEh &grid, int rows, int columns, int width, bool longText = false) {
    QStringList fields;
    for (int c = 0; c < columns; ++c) {
        fields << QStringLiteral("F_c%1").arg(c);
        grid.addColumn({fields.last(), QStringLiteral("列%1").arg(c), width});
    }
    QList<QVariantList> data;
    for (int r = 0; r < rows; ++r) {
        QVariantList row{r + 1};
        for (int c = 1; c < columns; ++c)
            row << (longText
                        ? QStringLiteral("员工生产计件统计明细第%1行第%2列的很长很长的说明文字").arg(r).arg(c)
                        : QStringLiteral("张三%1").arg(r));
        data << row;
    }
    grid.setRows(fields, data);
}

// Pages of a PDF file, as its page objects say.
int pdfPages(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    return int(QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

// Prints through printer to an A4 portrait PDF with 10 mm margins; the pages printed.
int printPdf(GridPrinter &printer, const QString &path) {
    QPdfWriter pdf(path);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                  QPageLayout::Millimeter));
    return printer.print(&pdf);
}

GridPrintOptions withFit(GridPrintFit fit) {
    GridPrintOptions o;
    o.fit = fit;
    return o;
}

} // namespace

class TestGridPrint : public QObject {
    Q_OBJECT
private slots:
    // A long grid continues on further pages; the PDF holds the pages the printer counted and
    // the Chinese text is set in the shipped font.
    void longGridPagesDown() {
        QTemporaryDir dir;
        DBGridEh grid;
        fillGrid(grid, 300, 4, 100);
        GridPrintOptions o;
        o.fit = GridPrintFit::PageWidth;
        o.title = "员工列表";
        o.footerRight = gridFooterText("date", QDate(2024, 3, 5));
        GridPrinter printer(&grid, o);
        const int pages = printPdf(printer, dir.filePath("long.pdf"));
        QVERIFY(pages > 1);
        QCOMPARE(printer.columnBands(), 1);
        QCOMPARE(printer.rowPages(), pages);
        QCOMPARE(pdfPages(dir.filePath("long.pdf")), pages);
        QFile f(dir.filePath("long.pdf"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("NotoSansCJK"));
    }

    // A grid wider than the page: at its own widths the columns take several page-wide bands;
    // both fit modes keep it one page wide.
    void wideGridFits_data() {
        QTest::addColumn<int>("fit");
        QTest::addColumn<bool>("oneBand");
        QTest::newRow("own widths") << int(GridPrintFit::None) << false;
        QTest::newRow("fit mode 0") << int(GridPrintFit::PageWidth) << true;
        QTest::newRow("fit mode 1") << int(GridPrintFit::ColumnWidths) << true;
    }
    void wideGridFits() {
        QFETCH(int, fit);
        QFETCH(bool, oneBand);
        QTemporaryDir dir;
        DBGridEh grid;
        fillGrid(grid, 20, 14, 200);
        GridPrinter printer(&grid, withFit(GridPrintFit(fit)));
        const int pages = printPdf(printer, dir.filePath("wide.pdf"));
        QCOMPARE(printer.rowPages(), 1);
        if (oneBand) {
            QCOMPARE(printer.columnBands(), 1);
            QCOMPARE(pages, 1);
        } else {
            QVERIFY(printer.columnBands() >= 3); // 2800 pixels on a page of about 720
            QCOMPARE(pages, printer.columnBands());
        }
        QCOMPARE(pdfPages(dir.filePath("wide.pdf")), pages);
    }

    // Fit mode 0 lets rows grow to show long text; fit mode 1 keeps one line per row, so the
    // same grid takes more pages in mode 0.
    void stretchedRowsTakeMorePages() {
        QTemporaryDir dir;
        DBGridEh grid;
        fillGrid(grid, 120, 3, 90, true);
        GridPrinter stretchedPrinter(&grid, withFit(GridPrintFit::PageWidth));
        GridPrinter singlePrinter(&grid, withFit(GridPrintFit::ColumnWidths));
        const int stretched = printPdf(stretchedPrinter, dir.filePath("a.pdf"));
        const int single = printPdf(singlePrinter, dir.filePath("b.pdf"));
        QVERIFY2(stretched > single, qPrintable(QStringLiteral("%1 vs %2").arg(stretched).arg(single)));
    }

    // An empty grid, grouped titles and a footer line still print (one page).
    void smallGridsPrintOnePage() {
        QTemporaryDir dir;
        DBGridEh grid;
        grid.addColumn({"F_a", "计件|数量"});
        grid.addColumn({"F_b", "计件|金额"});
        GridColumn c("F_c", "备注");
        c.footerType = FooterKind::StaticText;
        c.footerValue = "合计";
        grid.addColumn(c);
        grid.setRows({"F_a", "F_b", "F_c"}, {});
        GridPrintOptions o;
        o.title = "标题";
        o.headerLeft = "统计日期：自 启用系统 至 记帐最后一天";
        GridPrinter printer(&grid, o);
        QCOMPARE(printPdf(printer, dir.filePath("e.pdf")), 1);
        QCOMPARE(pdfPages(dir.filePath("e.pdf")), 1);
    }

    void footerDate_data() {
        QTest::addColumn<QString>("footer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("date") << "date"
                              << "打印日期：2024年03月05日";
        QTest::newRow("inside text") << "制表：张三  date"
                                     << "制表：张三  打印日期：2024年03月05日";
        QTest::newRow("no date") << "制表：张三"
                                 << "制表：张三";
        QTest::newRow("blank") << ""
                               << "";
    }
    void footerDate() {
        QFETCH(QString, footer);
        QFETCH(QString, expected);
        QCOMPARE(gridFooterText(footer, QDate(2024, 3, 5)), expected);
        QCOMPARE(gridPrintOptions("t", 0, footer, QString(), QDate(2024, 3, 5)).footerRight, expected);
    }

    // Fit modes 0 and 1 set the fit; any other value keeps the previous one. Blank texts print
    // nothing.
    void fitModeIsRemembered() {
        QCOMPARE(gridPrintOptions("t", 0, "", "").fit, GridPrintFit::PageWidth);
        QCOMPARE(gridPrintOptions("t", 5, "", "").fit, GridPrintFit::PageWidth);
        QCOMPARE(gridPrintOptions("t", 1, "", "").fit, GridPrintFit::ColumnWidths);
        QCOMPARE(gridPrintOptions("t", -1, "", "").fit, GridPrintFit::ColumnWidths);
        const GridPrintOptions o = gridPrintOptions("  ", 2, " ", "  ");
        QCOMPARE(o.fit, GridPrintFit::ColumnWidths);
        QVERIFY(o.title.isEmpty());
        QVERIFY(o.headerLeft.isEmpty());
        QVERIFY(o.footerRight.isEmpty());
        QCOMPARE(gridPrintOptions("工资表", 0, "date", "左", QDate(2024, 1, 2)).headerLeft, QString("左"));
    }

    // PrintGrid shows the preview on A4 with 10 mm margins; what it paints is the grid.
    void printGridShowsPreview() {
        QTemporaryDir dir;
        ScriptedResponder r;
        DBGridEh grid;
        fillGrid(grid, 300, 5, 120);
        int shown = 0;
        int pages = -1;
        setGridPreviewRunner([&](QPrintPreviewDialog *dialog) {
            ++shown;
            QPrinter *printer = dialog->printer();
            QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::A4);
            QCOMPARE(printer->pageLayout().margins(QPageLayout::Millimeter).left(), 10.0);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(dir.filePath("preview.pdf"));
            emit dialog->paintRequested(printer);
            pages = pdfPages(dir.filePath("preview.pdf"));
        });
        PrintGrid(&grid, "生产计件汇总统计列表", 0, "date", "统计日期");
        setGridPreviewRunner({});
        QCOMPARE(shown, 1);
        QVERIFY(pages > 1);
        QVERIFY(r.messages.isEmpty());
    }
};

REGISTER_TEST(TestGridPrint)
#include "tst_gridprint.moc"
