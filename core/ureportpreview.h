#pragma once
#include <QPrintPreviewDialog>

class QAction;
class QPrinter;

// The print preview of a rendered report: print, page setup and zoom of the standard preview,
// plus "导出PDF".
class TfrmReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    TfrmReportPreview(const QString &templatePath, const QString &html, QWidget *parent = nullptr);

    QString templatePath() const { return m_path; }
    QString html() const { return m_html; }
    QAction *exportPdfAction() const { return m_pdfAction; }
    // Writes the report to fileName as PDF; false after an error message naming the file.
    bool exportPdf(const QString &fileName);

private slots:
    void paintReport(QPrinter *printer);
    // Asks for a file name and exports the report to it.
    void askExportPdf();

private:
    QString m_path;
    QString m_html;
    QAction *m_pdfAction = nullptr;
};
