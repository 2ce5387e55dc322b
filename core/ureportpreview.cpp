#include "ureportpreview.h"

#include "keltrin.h"
#include "prompter.h"
#include "report.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPrinter>
#include <QToolBar>
#include <QUrl>

TfrmReportPreview::TfrmReportPreview(const QString &templatePath, const QString &html, QWidget *parent)
    : QPrintPreviewDialog(parent), m_path(templatePath), m_html(html) {
    setWindowTitle(QStringLiteral("报表预览 - %1").arg(QFileInfo(templatePath).completeBaseName()));
    printer()->setPageLayout(reportPageLayout(html));
    printer()->setDocName(QFileInfo(templatePath).completeBaseName());
    connect(this, &QPrintPreviewDialog::paintRequested, this, &TfrmReportPreview::paintReport);

    m_pdfAction =
        new QAction(QIcon::fromTheme(QStringLiteral("document-export")), QStringLiteral("导出PDF"), this);
    m_pdfAction->setToolTip(QStringLiteral("导出为 PDF 文件"));
    connect(m_pdfAction, &QAction::triggered, this, &TfrmReportPreview::askExportPdf);
    if (QToolBar *bar = findChild<QToolBar *>()) {
        bar->addSeparator();
        bar->addAction(m_pdfAction);
    } else {
        addAction(m_pdfAction);
    }
}

void TfrmReportPreview::paintReport(QPrinter *printer) {
    paintReportPages(m_html, printer);
}

bool TfrmReportPreview::exportPdf(const QString &fileName) {
    QString error;
    if (!exportReportPdf(m_html, fileName, &error)) {
        ShowMess(error, 3);
        return false;
    }
    return true;
}

void TfrmReportPreview::askExportPdf() {
    int filter = 1;
    QString file = prompter().saveFileName(this, QStringLiteral("导出PDF"),
                                           QFileInfo(m_path).completeBaseName() + QStringLiteral(".pdf"),
                                           QStringLiteral("PDF 文件 (*.pdf)"), &filter);
    if (file.isEmpty())
        return;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QLatin1String(".pdf");
    if (!exportPdf(file))
        return;
    if (ShowMess(QStringLiteral("导出 “%1” 成功，打开该文件吗？").arg(QFileInfo(file).fileName()), 1) == 1)
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}
