#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class DBGridEh;
class QUrl;
class QWidget;

// Export of a grid to files: an Excel workbook (.xlsx), tab-separated text, HTML, RTF and CSV.
// The grid is first read into a snapshot (titles, cell texts as shown, numbers of the number
// columns); the writers work on the snapshot only, so they can be called without a grid or a
// dialog. Every file is written under a temporary name beside the target and renamed when it is
// complete: a failed export leaves no half-written file and an existing file untouched.

// The file formats in the order of the save dialog's filters (the filter index from 1).
enum class ExportFormat { Xlsx = 1, Text = 2, Html = 3, Rtf = 4, Csv = 5 };

// One column of a snapshot.
struct ExportColumn {
    QString title;        // the title as shown ("group name" for a grouped title)
    int sheetColumn = 0;  // spreadsheet column, from 0
    int width = 80;       // width in screen pixels
    int alignment = 0;    // 0 left, 1 centre, 2 right
    bool number = false;  // shown with a number format: written to workbooks as numbers
    QString numberFormat; // the grid's display format of a number column (",0.00")
};

// One cell: the text as shown and, in a number column, the number behind it.
struct ExportCell {
    QString text;
    double number = 0;
    bool hasNumber = false;
};

// What an export writes: the columns, every row and the footer line of a grid.
struct GridSnapshot {
    QList<ExportColumn> columns;
    QList<QVector<ExportCell>> rows; // one cell per column of columns
    bool hasFooter = false;
    QVector<ExportCell> footer; // footer line as shown (when hasFooter)
};

// How a grid is read into a snapshot.
enum class SnapshotKind {
    // The visible columns in their order, numbered from 0; cells as shown; the footer line.
    Shown,
    // The visible columns keep their position among all grid columns as spreadsheet column, so
    // that hidden columns leave empty spreadsheet columns; cells reading "1900-08-14" are
    // emptied; no footer line.
    SheetPositions,
};

// Reads every row of the grid (the rest of its result is read first).
GridSnapshot snapshotGrid(DBGridEh *grid, SnapshotKind kind = SnapshotKind::Shown);

// The Excel number format of a grid display format: ",0.00" gives "#,##0.00", "0.##" stays
// "0.##". Empty for an empty format.
QString excelNumberFormat(const QString &displayFormat);

// --- the save dialog's rules ---
// The save dialog's filters, in the order of ExportFormat.
QString exportFilters();
// The extension of a filter index (1 "xlsx", 2 "txt", 3 "htm", 4 "rtf", 5 "csv"); empty for an
// index outside 1 to 5.
QString exportExtension(int filterIndex);
// The chosen name with the extension of the filter appended unless the name already ends in
// "." + extension (compared in upper case): "list" with 5 gives "list.csv", "list.txt" with 5
// gives "list.txt.csv", "list.XLSX" with 1 stays.
QString exportFileName(const QString &chosen, int filterIndex);

// --- the file contents (UTF-8; text and CSV start with a byte-order mark) ---
// Tab-separated, one line per row ended by CR LF; tabs and line breaks inside a cell become
// spaces.
QByteArray exportTextBytes(const GridSnapshot &snap);
// Comma-separated, lines ended by CR LF; a field holding a comma, a quote or a line break is
// quoted, its quotes doubled.
QByteArray exportCsvBytes(const GridSnapshot &snap);
// An HTML page holding one table with escaped text.
QByteArray exportHtmlBytes(const GridSnapshot &snap, const QString &title);
// An RTF document holding one table; non-ASCII characters written as \uN? escapes.
QByteArray exportRtfBytes(const GridSnapshot &snap);

// Writes bytes to fileName through a temporary file beside it. False with *error saying why.
bool writeExportBytes(const QString &fileName, const QByteArray &bytes, QString *error);
// Writes an .xlsx workbook with one sheet: titles in row 1, rows from row 2, the footer line
// after them; number columns as numbers with their Excel number format, other cells as text
// ("@"). An invalid sheet name is made valid. False with *error saying why.
bool writeXlsx(const GridSnapshot &snap, const QString &fileName, const QString &sheetName, QString *error);
// Writes the snapshot in a format (the HTML title and the sheet name come from title).
bool writeExport(ExportFormat format, const GridSnapshot &snap, const QString &fileName, const QString &title,
                 QString *error);

// --- the services windows call ---
// Save dialog, export of all rows in the chosen format, then "导出 “name” 成功，打开该文件吗？"
// and on yes opens the file. When the extension added to the chosen name meets an existing
// file, the user is asked before it is replaced. False when cancelled or when the file cannot
// be written (after an error message).
bool ExportGrid(DBGridEh *grid, const QString &defaultFileName, int filterIndex, QWidget *parent = nullptr);
// Writes the grid to a temporary workbook with one sheet named sheetName (see
// SnapshotKind::SheetPositions) and opens it with the desktop's spreadsheet program; when no
// program takes it, "系统中的MS Excel软件没有安装或安装不正确！" (error, caption "错误") and
// the file is removed. With visible false the workbook is written but not opened. Returns the
// workbook's path, empty on failure.
QString ExportGridToExcel(DBGridEh *grid, const QString &sheetName, bool visible = true);

// Opens a document with the program registered for it (QDesktopServices unless a test installed
// another opener); false when nothing could open it.
bool openDocument(const QUrl &url);
// Installs an opener (tests); an empty function restores QDesktopServices.
void setDocumentOpener(std::function<bool(const QUrl &)> opener);
