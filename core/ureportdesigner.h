#pragma once
#include "report.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// The report designer: the template text, the fields of every data set, the variables and the
// template functions to insert, a live preview over the window's data, and "保存" back to the
// same template file.
class TfrmReportDesigner : public QDialog {
    Q_OBJECT
public:
    // Item data of the field list: the text a double-click inserts and where the cursor then
    // stands, counted back from the end of the inserted text.
    enum { InsertTextRole = Qt::UserRole + 1, CursorBackRole };

    TfrmReportDesigner(const QString &templatePath, const ReportData &data, const ReportValues &values,
                       const QStringList &windowVariables = {}, QWidget *parent = nullptr);

    // Reads the template into the editor; a missing file starts from the skeleton. False after
    // an error message naming the file when an existing file cannot be read.
    bool load();
    // Writes the editor text to the template file (created with its folder when missing).
    // False after an error message naming the file; the file is then left as it was.
    bool save();
    bool isModified() const;
    QString templatePath() const { return m_path; }

    QPlainTextEdit *editor() const { return m_editor; }
    QTreeWidget *fieldList() const { return m_fields; }
    QTextBrowser *preview() const { return m_preview; }
    QLabel *statusLine() const { return m_status; }
    QPushButton *saveButton() const { return m_btnSave; }
    QPushButton *closeButton() const { return m_btnClose; }
    QPushButton *printPreviewButton() const { return m_btnPreview; }

    // Renders the editor text into the preview now; a fault goes to the status line.
    void refreshPreview();
    // Inserts an item's text at the cursor (what a double-click on the field list does).
    void insertItem(QTreeWidgetItem *item);

public slots:
    // "关闭" and Esc: unsaved changes are offered for saving first.
    void reject() override;

private slots:
    void showPrintPreview();

private:
    void buildFieldList(const QStringList &windowVariables);
    // True when the designer may close (changes saved or given up).
    bool confirmClose();
    void showStatus(const QString &text, bool fault);

    QString m_path;
    ReportData m_data;
    ReportValues m_values;
    bool m_statusFault = false;

    QTreeWidget *m_fields = nullptr;
    QPlainTextEdit *m_editor = nullptr;
    QTextBrowser *m_preview = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_btnSave = nullptr;
    QPushButton *m_btnPreview = nullptr;
    QPushButton *m_btnClose = nullptr;
    QTimer *m_previewTimer = nullptr;
};
