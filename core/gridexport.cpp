#include "gridexport.h"
#include "waitcursor.h"

#include "dbgrid.h"
#include "keltrin.h"
#include "prompter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <xlsxwriter.h>

namespace {

const QString kEmptyDateText = QStringLiteral("1900-08-14");
const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

// Excel's limits on one sheet.
constexpr int kMaxSheetRows = 1048576;
constexpr int kMaxSheetColumns = 16384;
constexpr int kMaxCellChars = 32767;

std::function<bool(const QUrl &)> g_opener;

bool isNumberFormat(const QString &format) {
    return !format.trimmed().isEmpty() && !DBGridModel::isDateFormat(format);
}

QString shownTitle(const GridColumn &c) {
    const QString group = c.groupTitle();
    return group.isEmpty() ? c.nameTitle() : group + QLatin1Char(' ') + c.nameTitle();
}

ExportCell makeCell(const QString &text, const QVariant &value, bool numberColumn) {
    ExportCell cell;
    cell.text = text;
    if (numberColumn && !text.isEmpty() && !value.isNull()) {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (ok) {
            cell.number = d;
            cell.hasNumber = true;
        }
    }
    return cell;
}

// A cell of a one-line-per-row format: tabs and line breaks become spaces.
QString flatText(QString s) {
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar &ch : s)
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
            ch = QLatin1Char(' ');
    return s;
}

QString csvField(const QString &s) {
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n')) &&
        !s.contains(QLatin1Char('\r')))
        return s;
    QString q = s;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// Calls line(texts) for the title line, every row and the footer line.
template <typename Fn> void forEachLine(const GridSnapshot &snap, Fn line) {
    QStringList texts;
    for (const ExportColumn &c : snap.columns)
        texts << c.title;
    line(texts);
    auto cells = [&](const QVector<ExportCell> &row) {
        texts.clear();
        for (int i = 0; i < snap.columns.size(); ++i)
            texts << (i < row.size() ? row.at(i).text : QString());
        line(texts);
    };
    for (const QVector<ExportCell> &row : snap.rows)
        cells(row);
    if (snap.hasFooter)
        cells(snap.footer);
}

QString htmlCell(const QString &s) {
    QString e = s.toHtmlEscaped();
    e.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    e.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return e;
}

const char *htmlAlign(int alignment) {
    return alignment == 1 ? " align=\"center\"" : alignment == 2 ? " align=\"right\"" : "";
}

QByteArray rtfText(const QString &s) {
    QByteArray out;
    out.reserve(s.size() + 8);
    for (int i = 0; i < s.size(); ++i) {
        const ushort u = s.at(i).unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\r') {
            if (i + 1 < s.size() && s.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += "\\line ";
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u < 0x20) {
            continue;
        } else if (u < 0x80) {
            out += char(u);
        } else {
            // RTF wants a signed 16-bit number; '?' is what a reader without Unicode shows
            out += "\\u" + QByteArray::number(int(qint16(u))) + '?';
        }
    }
    return out;
}

const char *rtfAlign(int alignment) {
    return alignment == 1 ? "\\qc" : alignment == 2 ? "\\qr" : "\\ql";
}

// A sheet name Excel accepts: at most 31 characters, none of []:*?/\, not starting or ending
// with an apostrophe.
QString validSheetName(const QString &name) {
    QString s = name.trimmed();
    for (QChar &ch : s)
        if (QStringLiteral("[]:*?/\\").contains(ch) || ch.unicode() < 0x20)
            ch = QLatin1Char('_');
    while (s.startsWith(QLatin1Char('\'')))
        s.remove(0, 1);
    while (s.endsWith(QLatin1Char('\'')))
        s.chop(1);
    if (s.size() > 31)
        s.truncate(31);
    if (s.isEmpty())
        s = QStringLiteral("Sheet1");
    return s;
}

// A name usable as part of a file name.
QString fileSafe(const QString &name) {
    QString s = name.trimmed();
    for (QChar &ch : s)
        if (QStringLiteral("/\\:*?\"<>|").contains(ch) || ch.unicode() < 0x20)
            ch = QLatin1Char('_');
    return s.isEmpty() ? QStringLiteral("export") : s.left(60);
}

QString folderProblem(const QString &fileName) {
    const QFileInfo fi(fileName);
    const QFileInfo dir(fi.absolutePath());
    if (!dir.exists())
        return QStringLiteral("文件夹“%1”不存在").arg(QDir::toNativeSeparators(dir.filePath()));
    if (!dir.isDir())
        return QStringLiteral("“%1”不是文件夹").arg(QDir::toNativeSeparators(dir.filePath()));
    if (fi.isDir())
        return QStringLiteral("“%1”是一个文件夹").arg(QDir::toNativeSeparators(fi.filePath()));
    return QString();
}

QString xlsxError(lxw_error err) {
    return QString::fromLocal8Bit(lxw_strerror(err));
}

} // namespace

GridSnapshot snapshotGrid(DBGridEh *grid, SnapshotKind kind) {
    GridSnapshot snap;
    if (!grid)
        return snap;
    grid->fetchAll();
    const QList<int> shown = grid->visibleColumns();
    QVector<bool> number;
    for (int i = 0; i < shown.size(); ++i) {
        const GridColumn c = grid->column(shown.at(i));
        ExportColumn ec;
        ec.title = shownTitle(c);
        ec.sheetColumn = kind == SnapshotKind::SheetPositions ? shown.at(i) : i;
        ec.width = grid->gridColumnWidth(shown.at(i));
        ec.alignment = grid->columnAlignment(shown.at(i));
        ec.number = isNumberFormat(c.displayFormat);
        ec.numberFormat = ec.number ? c.displayFormat : QString();
        snap.columns << ec;
        number << ec.number;
    }
    const int rows = grid->rowCount();
    snap.rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QVector<ExportCell> cells;
        cells.reserve(shown.size());
        for (int i = 0; i < shown.size(); ++i) {
            QString text = grid->cellText(r, shown.at(i));
            if (kind == SnapshotKind::SheetPositions && text == kEmptyDateText)
                text.clear();
            cells << makeCell(text, number.at(i) ? grid->cellValue(r, shown.at(i)) : QVariant(),
                              number.at(i));
        }
        snap.rows << cells;
    }
    if (kind == SnapshotKind::Shown && grid->hasFooter()) {
        snap.hasFooter = true;
        for (int i = 0; i < shown.size(); ++i) {
            const int c = shown.at(i);
            const bool sum = grid->column(c).footerType == FooterKind::Sum;
            snap.footer << makeCell(grid->footerText(c), sum ? grid->footerValue(c) : QVariant(),
                                    number.at(i) && sum);
        }
    }
    return snap;
}

QString excelNumberFormat(const QString &displayFormat) {
    if (displayFormat.trimmed().isEmpty())
        return QString();
    QStringList sections = displayFormat.split(QLatin1Char(';'));
    for (QString &s : sections) {
        if (!s.contains(QLatin1Char(',')))
            continue;
        // a comma anywhere asks for thousands separators: Excel wants one in the integer part
        s.remove(QLatin1Char(','));
        int start = 0;
        while (start < s.size() && s.at(start) != QLatin1Char('0') && s.at(start) != QLatin1Char('#'))
            ++start;
        if (start == s.size())
            continue;
        int end = start;
        while (end < s.size() && (s.at(end) == QLatin1Char('0') || s.at(end) == QLatin1Char('#')))
            ++end;
        QString digits = s.mid(start, end - start);
        while (digits.size() < 4)
            digits.prepend(QLatin1Char('#'));
        digits.insert(digits.size() - 3, QLatin1Char(','));
        s.replace(start, end - start, digits);
    }
    return sections.join(QLatin1Char(';'));
}

QString exportFilters() {
    return QStringLiteral(
        "Excel 文档 (*.xlsx);;Text files (*.txt);;HTML file (*.htm);;Rich Text Format (*.rtf);;"
        "Comma separated values (*.csv)");
}

QString exportExtension(int filterIndex) {
    switch (filterIndex) {
    case 1:
        return QStringLiteral("xlsx");
    case 2:
        return QStringLiteral("txt");
    case 3:
        return QStringLiteral("htm");
    case 4:
        return QStringLiteral("rtf");
    case 5:
        return QStringLiteral("csv");
    default:
        return QString();
    }
}

QString exportFileName(const QString &chosen, int filterIndex) {
    const QString ext = exportExtension(filterIndex);
    if (ext.isEmpty() || chosen.isEmpty())
        return chosen;
    const QString suffix = QLatin1Char('.') + ext.toUpper();
    if (chosen.toUpper().endsWith(suffix))
        return chosen;
    return chosen + QLatin1Char('.') + ext;
}

QByteArray exportTextBytes(const GridSnapshot &snap) {
    QByteArray out = kBom;
    forEachLine(snap, [&](const QStringList &texts) {
        for (int i = 0; i < texts.size(); ++i) {
            if (i)
                out += '\t';
            out += flatText(texts.at(i)).toUtf8();
        }
        out += "\r\n";
    });
    return out;
}

QByteArray exportCsvBytes(const GridSnapshot &snap) {
    QByteArray out = kBom;
    forEachLine(snap, [&](const QStringList &texts) {
        for (int i = 0; i < texts.size(); ++i) {
            if (i)
                out += ',';
            out += csvField(texts.at(i)).toUtf8();
        }
        out += "\r\n";
    });
    return out;
}

QByteArray exportHtmlBytes(const GridSnapshot &snap, const QString &title) {
    QByteArray out;
    out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    out += title.toHtmlEscaped().toUtf8();
    out += "</title>\n<style>table{border-collapse:collapse}th,td{border:1px solid #808080;padding:2px 4px}"
           "</style>\n</head>\n<body>\n<table>\n<tr>";
    for (const ExportColumn &c : snap.columns)
        out += "<th>" + htmlCell(c.title).toUtf8() + "</th>";
    out += "</tr>\n";
    auto row = [&](const QVector<ExportCell> &cells, bool footer) {
        out += "<tr>";
        for (int i = 0; i < snap.columns.size(); ++i) {
            out += "<td";
            out += htmlAlign(snap.columns.at(i).alignment);
            out += '>';
            const QString text = i < cells.size() ? cells.at(i).text : QString();
            out += footer && !text.isEmpty() ? "<b>" + htmlCell(text).toUtf8() + "</b>"
                                             : htmlCell(text).toUtf8();
            out += "</td>";
        }
        out += "</tr>\n";
    };
    for (const QVector<ExportCell> &cells : snap.rows)
        row(cells, false);
    if (snap.hasFooter)
        row(snap.footer, true);
    out += "</table>\n</body>\n</html>\n";
    return out;
}

QByteArray exportRtfBytes(const GridSnapshot &snap) {
    QByteArray out =
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 Noto Sans CJK SC;}}\n"
        "\\uc1\\pard\\f0\\fs20\n";
    // the row definition: every cell framed, right edges in twips (15 twips a screen pixel)
    QByteArray rowDef = "\\trowd\\trgaph60\\trleft0";
    int right = 0;
    for (const ExportColumn &c : snap.columns) {
        right += qMax(c.width, 8) * 15;
        rowDef += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdr"
                  "s\\brdrw10"
                  "\\cellx" +
                  QByteArray::number(right);
    }
    rowDef += '\n';
    auto line = [&](const QStringList &texts, bool bold, bool aligned) {
        out += rowDef;
        for (int i = 0; i < snap.columns.size(); ++i) {
            out += "\\pard\\intbl";
            out += aligned ? rtfAlign(snap.columns.at(i).alignment) : "\\qc";
            out += bold ? "\\b " : " ";
            out += rtfText(i < texts.size() ? texts.at(i) : QString());
            out += bold ? "\\b0\\cell\n" : "\\cell\n";
        }
        out += "\\row\n";
    };
    QStringList texts;
    for (const ExportColumn &c : snap.columns)
        texts << c.title;
    line(texts, true, false);
    auto cellsLine = [&](const QVector<ExportCell> &cells, bool bold) {
        texts.clear();
        for (const ExportCell &cell : cells)
            texts << cell.text;
        line(texts, bold, true);
    };
    for (const QVector<ExportCell> &cells : snap.rows)
        cellsLine(cells, false);
    if (snap.hasFooter)
        cellsLine(snap.footer, true);
    out += "\\pard\\par\n}\n";
    return out;
}

bool writeExportBytes(const QString &fileName, const QByteArray &bytes, QString *error) {
    const QString problem = folderProblem(fileName);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool writeXlsx(const GridSnapshot &snap, const QString &fileName, const QString &sheetName, QString *error) {
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QString problem = folderProblem(fileName);
    if (!problem.isEmpty())
        return fail(problem);
    if (snap.rows.size() + 2 > kMaxSheetRows)
        return fail(QStringLiteral("行数超过工作表的上限 %1 行").arg(kMaxSheetRows));
    for (const ExportColumn &c : snap.columns)
        if (c.sheetColumn < 0 || c.sheetColumn >= kMaxSheetColumns)
            return fail(QStringLiteral("列数超过工作表的上限 %1 列").arg(kMaxSheetColumns));

    // the workbook is written under a temporary name beside the target, then renamed
    const QFileInfo target(fileName);
    QTemporaryFile temp(target.absoluteDir().filePath(QStringLiteral(".~export-XXXXXX.xlsx")));
    if (!temp.open())
        return fail(temp.errorString());
    const QString tempPath = temp.fileName();
    temp.close();

    lxw_workbook *wb = workbook_new(QFile::encodeName(tempPath).constData());
    if (!wb)
        return fail(QStringLiteral("内存不足"));
    lxw_worksheet *ws = workbook_add_worksheet(wb, validSheetName(sheetName).toUtf8().constData());
    if (!ws) {
        workbook_close(wb);
        return fail(QStringLiteral("工作表名称“%1”无效").arg(sheetName));
    }
    lxw_format *textFormat = workbook_add_format(wb);
    format_set_num_format(textFormat, "@");
    lxw_format *titleFormat = workbook_add_format(wb);
    format_set_bold(titleFormat);
    format_set_num_format(titleFormat, "@");
    QHash<QString, lxw_format *> numberFormats;
    QVector<lxw_format *> columnFormat;
    for (const ExportColumn &c : snap.columns) {
        lxw_format *f = textFormat;
        if (c.number) {
            const QString xf = excelNumberFormat(c.numberFormat);
            f = numberFormats.value(xf);
            if (!f) {
                f = workbook_add_format(wb);
                format_set_num_format(f, xf.toUtf8().constData());
                numberFormats.insert(xf, f);
            }
        }
        columnFormat << f;
        worksheet_set_column_pixels(ws, lxw_col_t(c.sheetColumn), lxw_col_t(c.sheetColumn), qMax(c.width, 8),
                                    f);
    }

    lxw_error err = LXW_NO_ERROR;
    auto writeText = [&](int row, int col, const QString &text, lxw_format *f) {
        if (text.isEmpty() || err != LXW_NO_ERROR)
            return;
        const QByteArray utf8 = (text.size() > kMaxCellChars ? text.left(kMaxCellChars) : text).toUtf8();
        err = worksheet_write_string(ws, lxw_row_t(row), lxw_col_t(col), utf8.constData(), f);
    };
    for (int i = 0; i < snap.columns.size(); ++i)
        writeText(0, snap.columns.at(i).sheetColumn, snap.columns.at(i).title, titleFormat);
    auto writeRow = [&](int row, const QVector<ExportCell> &cells) {
        for (int i = 0; i < snap.columns.size() && i < cells.size() && err == LXW_NO_ERROR; ++i) {
            const ExportCell &cell = cells.at(i);
            const int col = snap.columns.at(i).sheetColumn;
            if (cell.hasNumber)
                err = worksheet_write_number(ws, lxw_row_t(row), lxw_col_t(col), cell.number,
                                             columnFormat.at(i));
            else
                writeText(row, col, cell.text, textFormat);
        }
    };
    int row = 1;
    for (const QVector<ExportCell> &cells : snap.rows)
        writeRow(row++, cells);
    if (snap.hasFooter)
        writeRow(row, snap.footer);
    if (!snap.columns.isEmpty())
        worksheet_freeze_panes(ws, 1, 0);

    const lxw_error closeErr = workbook_close(wb);
    if (err != LXW_NO_ERROR)
        return fail(xlsxError(err));
    if (closeErr != LXW_NO_ERROR)
        return fail(closeErr == LXW_ERROR_CREATING_XLSX_FILE || closeErr == LXW_ERROR_CREATING_TMPFILE
                        ? QStringLiteral("%1（%2）")
                              .arg(xlsxError(closeErr), QString::fromLocal8Bit(std::strerror(errno)))
                        : xlsxError(closeErr));
    problem = folderProblem(fileName);
    if (!problem.isEmpty())
        return fail(problem);
    if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(fileName).constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    temp.setAutoRemove(false);
    return true;
}

bool writeExport(ExportFormat format, const GridSnapshot &snap, const QString &fileName, const QString &title,
                 QString *error) {
    switch (format) {
    case ExportFormat::Xlsx:
        return writeXlsx(snap, fileName, title, error);
    case ExportFormat::Text:
        return writeExportBytes(fileName, exportTextBytes(snap), error);
    case ExportFormat::Html:
        return writeExportBytes(fileName, exportHtmlBytes(snap, title), error);
    case ExportFormat::Rtf:
        return writeExportBytes(fileName, exportRtfBytes(snap), error);
    case ExportFormat::Csv:
        return writeExportBytes(fileName, exportCsvBytes(snap), error);
    }
    return false;
}

bool ExportGrid(DBGridEh *grid, const QString &defaultFileName, int filterIndex, QWidget *parent) {
    if (!grid)
        return false;
    if (grid->visibleColumns().isEmpty()) {
        ShowMess(QStringLiteral("表格中没有显示的列，无法导出！"), 2);
        return false;
    }
    int index = filterIndex >= 1 && filterIndex <= 5 ? filterIndex : 1;
    const QString chosen =
        prompter().saveFileName(parent, QStringLiteral("导出"), defaultFileName, exportFilters(), &index);
    if (chosen.isEmpty())
        return false;
    if (index < 1 || index > 5)
        index = 1;
    const QString fileName = exportFileName(chosen, index);
    const QString shortName = QFileInfo(fileName).fileName();
    // the dialog asked about the name chosen; a name completed here may meet another file
    if (fileName != chosen && QFileInfo::exists(fileName) &&
        ShowMess(QStringLiteral("文件 “%1” 已存在，要替换它吗？").arg(shortName), 1) != 1)
        return false;
    QString error;
    bool ok;
    {
        WaitCursor wait;
        const GridSnapshot snap = snapshotGrid(grid);
        ok = writeExport(ExportFormat(index), snap, fileName, QFileInfo(fileName).completeBaseName(), &error);
    }
    if (!ok) {
        ShowMess(QStringLiteral("导出 “%1” 失败：%2").arg(shortName, error), 3);
        return false;
    }
    if (ShowMess(QStringLiteral("导出 “") + shortName + QStringLiteral("” 成功，打开该文件吗？"), 1) == 1 &&
        !openDocument(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath())))
        ShowMess(QStringLiteral("系统中没有能打开 “%1” 的程序！").arg(shortName), 2);
    return true;
}

QString ExportGridToExcel(DBGridEh *grid, const QString &sheetName, bool visible) {
    if (!grid)
        return QString();
    QString path;
    QString error;
    {
        WaitCursor wait;
        const GridSnapshot snap = snapshotGrid(grid, SnapshotKind::SheetPositions);
        QTemporaryFile file(QDir::temp().filePath(fileSafe(sheetName) + QStringLiteral("-XXXXXX.xlsx")));
        file.setAutoRemove(false);
        if (!file.open()) {
            error = file.errorString();
        } else {
            path = file.fileName();
            file.close();
            if (!writeXlsx(snap, path, sheetName, &error)) {
                QFile::remove(path);
                path.clear();
            }
        }
        grid->first();
    }
    if (path.isEmpty()) {
        ShowMess(QStringLiteral("导出失败：%1").arg(error), 3);
        return QString();
    }
    if (!visible)
        return path;
    if (!openDocument(QUrl::fromLocalFile(path))) {
        prompter().message(QStringLiteral("系统中的MS Excel软件没有安装或安装不正确！"), 3,
                           QStringLiteral("错误"));
        QFile::remove(path);
        return QString();
    }
    return path;
}

bool openDocument(const QUrl &url) {
    return g_opener ? g_opener(url) : QDesktopServices::openUrl(url);
}

void setDocumentOpener(std::function<bool(const QUrl &)> opener) {
    g_opener = std::move(opener);
}
