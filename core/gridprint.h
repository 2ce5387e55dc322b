#pragma once
#include <QDate>
#include <QString>
#include <functional>

class DBGridEh;
class QPagedPaintDevice;
class QPrintPreviewDialog;
class QWidget;

// Printing of a grid as shown: the title rows (grouped titles included), every row with the
// grid's alignment, display formats and row colours, and the footer line, paged over the paper.
// Page header and footer texts are set in a 12-pixel font; the footer carries the page number.
// Chinese text is printed in Noto Sans CJK SC.

// How a printed grid meets the width of the page.
enum class GridPrintFit {
    // Columns at their own widths; columns that do not fit continue on further pages.
    None,
    // A grid wider than the page is shrunk as a whole to the page width; rows grow in height
    // until their text is shown in full.
    PageWidth,
    // Column widths are scaled to fill the page width; one line of text per row.
    ColumnWidths,
};

// What a printout shows besides the grid.
struct GridPrintOptions {
    GridPrintFit fit = GridPrintFit::None;
    QString title;       // printed on the first page as three lines: empty, title, empty
    QString headerLeft;  // left text of the page header
    QString footerRight; // right text of the page footer
};

// Lays a grid out on pages and paints them on any paged device (a printer, a PDF writer).
class GridPrinter {
public:
    explicit GridPrinter(DBGridEh *grid, const GridPrintOptions &options = GridPrintOptions());

    void setOptions(const GridPrintOptions &options) { m_options = options; }
    const GridPrintOptions &options() const { return m_options; }

    // Reads every row of the grid, then paints all pages on device (further pages are started
    // with newPage()). Returns the number of pages; 0 when the device cannot be painted on.
    int print(QPagedPaintDevice *device);

    // After print(): the page-wide bands the columns were split into, and the pages of rows
    // each band takes.
    int columnBands() const { return m_bands; }
    int rowPages() const { return m_rowPages; }

private:
    DBGridEh *m_grid;
    GridPrintOptions m_options;
    int m_bands = 0;
    int m_rowPages = 0;
};

// The right footer text as printed: the word "date" becomes "打印日期：" followed by the day
// written "yyyy年MM月dd日".
QString gridFooterText(const QString &footerRight, const QDate &today = QDate::currentDate());

// The options PrintGrid prints with: fit mode 0 fits to the page width with rows stretched to
// their text, fit mode 1 fits to the page width by scaling column widths, any other value keeps
// the fit of the previous call (columns at their own widths before the first). Blank texts leave
// their place empty; the footer text gets the date of today.
GridPrintOptions gridPrintOptions(const QString &title, int fitMode, const QString &footerRight,
                                  const QString &headerLeft, const QDate &today = QDate::currentDate());

// Shows the print preview of the grid (print, page setup, zoom) on A4 paper with 10 mm margins.
void PrintGrid(DBGridEh *grid, const QString &title, int fitMode, const QString &footerRight = QString(),
               const QString &headerLeft = QString(), QWidget *parent = nullptr);

// Runs PrintGrid's preview dialog instead of exec() (tests); an empty runner restores exec().
using GridPreviewRunner = std::function<void(QPrintPreviewDialog *dialog)>;
void setGridPreviewRunner(GridPreviewRunner runner);
