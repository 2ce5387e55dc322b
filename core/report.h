#pragma once
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class DBGridModel;
class QDialog;
class QFont;
class QPagedPaintDevice;
class QSqlQuery;
class QTextDocument;
class QWidget;

// Report layer: a template "Qr/<name>.fr3" beside the program is a mustache template that
// produces HTML (the format is described in reports/README.md). It is filled from named data
// sets ("frxDM" first) and from variables that the calling window answers by name, laid out by
// QTextDocument and shown in a print preview, or edited in the report designer.

// The name of the main data set of every report.
inline constexpr char kReportMainSet[] = "frxDM";

// One named data set: its column names and all of its rows (values in column order).
struct ReportDataSet {
    QString name;
    QStringList columns;
    QList<QVariantList> rows;

    ReportDataSet() = default;
    ReportDataSet(const QString &setName, const QStringList &columnNames,
                  const QList<QVariantList> &rowValues = {})
        : name(setName), columns(columnNames), rows(rowValues) {}

    // Every row of an open query, from its first row whatever row it stands on now.
    static ReportDataSet fromQuery(QSqlQuery &query,
                                   const QString &name = QString::fromLatin1(kReportMainSet));
    // Rows given as maps; without columns, the keys of all rows in the order first seen.
    static ReportDataSet fromMaps(const QList<QVariantMap> &rows, const QStringList &columns = {},
                                  const QString &name = QString::fromLatin1(kReportMainSet));
    // Every row of a grid's result, in the order the grid shows them.
    static ReportDataSet fromModel(DBGridModel &model,
                                   const QString &name = QString::fromLatin1(kReportMainSet));

    int rowCount() const { return rows.size(); }
    bool isEmpty() const { return rows.isEmpty(); }
    // Position of a column, compared without regard to case; -1 when absent.
    int columnIndex(const QString &column) const;
};

// The data sets handed to one report; "frxDM" is always listed first.
class ReportData {
public:
    ReportData() = default;
    // A report over one main data set (renamed "frxDM" when it has no name).
    ReportData(const ReportDataSet &main); // NOLINT: implicit on purpose, PrintReport("x", set)
    // Adds a data set, replacing one of the same name (names compared without regard to case).
    ReportData &add(const ReportDataSet &set);
    // The data set of that name (without regard to case), nullptr when absent.
    const ReportDataSet *find(const QString &name) const;
    const QList<ReportDataSet> &sets() const { return m_sets; }
    // Rows of "frxDM"; 0 when the report has no main data set.
    int mainRowCount() const;

private:
    QList<ReportDataSet> m_sets;
};

// The window's answer to a variable asked by name; an invalid QVariant means "not mine".
using ReportValues = std::function<QVariant(const QString &name)>;

// The variables every report is offered, followed by the window's own (duplicates dropped).
QStringList reportVariableNames(const QStringList &windowVariables = {});
// The value a report shows for a variable: the window's answer, else sCurKHname the company
// name, memoDate empty text, Date today's date; an invalid QVariant for anything else.
QVariant reportVariable(const ReportValues &values, const QString &name);
// The text a report shows for a value: numbers without needless decimals, dates as yyyy-MM-dd,
// the stored empty date (anything before 1901-08-14) and pictures as empty text.
QString reportValueText(const QVariant &value);
// A picture's bytes as a data URI ("data:image/jpeg;base64,...") that report HTML can show with
// <img src="...">; empty when the bytes are no picture the program can read. Templates find it
// beside every picture field as <field>_image ({{F_EmpImage_image}}).
QString reportImageUri(const QByteArray &bytes);

// The folder templates are read from: "Qr" beside the program unless setReportFolder chose one.
QString reportFolder();
// Uses dir instead of the program's Qr folder (tests); an empty text restores the default.
void setReportFolder(const QString &dir);
// The template file of a name ("frHrmMan" or "frHrmMan.fr3"): the file in the report folder
// whose name matches without regard to case, or the exact name when there is none.
QString reportTemplatePath(const QString &templateName);
// The template a new report starts from in the designer.
QString reportSkeleton();

// Reads a template file as UTF-8 text. False with a message naming the file when it is
// missing, unreadable, not UTF-8 or a template of another report engine.
bool readReportTemplate(const QString &path, QString *text, QString *error);
// Renders template text over data and variables. On a fault the result is empty and *error
// tells what is wrong and on which line.
QString renderReportText(const QString &templateText, const ReportData &data, const ReportValues &values,
                         QString *error);
// Reads and renders a template file; *error names the file when it cannot be read or rendered.
QString renderReport(const QString &templatePath, const ReportData &data, const ReportValues &values,
                     QString *error);

// The page a report asks for through its page-size, page-orientation and page-margins meta tags;
// A4 portrait with 10 mm margins by default.
QPageLayout reportPageLayout(const QString &html);
// The font of report text: Noto Sans CJK SC, 10 points.
QFont reportFont();
// Puts report HTML into doc with the report font (Noto Sans CJK SC) for Chinese text.
void setReportDocument(QTextDocument *doc, const QString &html);
// Lays report HTML out on the device's pages (its page layout as set) and paints them, each
// with "第 n 页 共 m 页" at its foot; a printer's page range is honoured.
void paintReportPages(const QString &html, QPagedPaintDevice *device);
// Writes report HTML as a PDF file on the report's page. False with *error naming the file when
// it cannot be written (the file is then left as it was).
bool exportReportPdf(const QString &html, const QString &fileName, QString *error = nullptr);

// Shows the report in the print preview (print, page setup, zoom, PDF export). Does nothing
// when "frxDM" has no rows; a template that cannot be read or rendered gets an error message
// naming the file.
void PrintReport(const QString &templateName, const ReportData &data, const ReportValues &values = {},
                 QWidget *parent = nullptr);
// Opens the template in the report designer, also when the data sets are empty; a missing
// template starts from the skeleton. windowVariables are the window's own variable names,
// listed beside memoDate and sCurKHname.
void DesignReport(const QString &templateName, const ReportData &data, const ReportValues &values = {},
                  QWidget *parent = nullptr, const QStringList &windowVariables = {});

// Runs the preview and designer dialogs instead of exec() (tests); an empty runner restores exec().
using ReportDialogRunner = std::function<void(QDialog *dialog)>;
void setReportDialogRunner(ReportDialogRunner runner);
// Runs a report dialog through the runner in force.
void runReportDialog(QDialog *dialog);
