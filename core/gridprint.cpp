#include "gridprint.h"

#include "dbgrid.h"
#include "keltrin.h"

#include <QBrush>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

namespace {

const QString kPrintFont = QStringLiteral("Noto Sans CJK SC");

// The fit of the previous PrintGrid call.
GridPrintFit g_fit = GridPrintFit::None;
GridPreviewRunner g_runner;

struct PrintColumn {
    int index = 0;    // grid column
    double width = 0; // in unscaled device units
    int alignment = 0;
    QString group;
    QString name;
};

struct RowPage {
    int first = 0;
    int end = 0; // one past the last row
    bool footer = false;
};

Qt::Alignment horizontal(int alignment) {
    return alignment == 1 ? Qt::AlignHCenter : alignment == 2 ? Qt::AlignRight : Qt::AlignLeft;
}

// Text without spaces (Chinese, codes, numbers) may break anywhere; other text at word ends.
int wrapFlag(const QString &text) {
    return text.contains(QLatin1Char(' ')) ? Qt::TextWordWrap : Qt::TextWrapAnywhere;
}

QColor colourOf(const QVariant &v) {
    if (!v.isValid())
        return QColor();
    if (v.typeId() == QMetaType::QColor)
        return v.value<QColor>();
    if (v.typeId() == QMetaType::QBrush)
        return v.value<QBrush>().color();
    return QColor();
}

} // namespace

GridPrinter::GridPrinter(DBGridEh *grid, const GridPrintOptions &options)
    : m_grid(grid), m_options(options) {}

int GridPrinter::print(QPagedPaintDevice *device) {
    m_bands = 0;
    m_rowPages = 0;
    if (!m_grid || !device)
        return 0;
    m_grid->fetchAll();
    QPainter p;
    if (!p.begin(device))
        return 0;
    p.setRenderHint(QPainter::Antialiasing, false);

    // device units per screen pixel
    const double k = device->logicalDpiX() / 96.0;
    const double pageW = device->width();
    const double pageH = device->height();

    QFont base = m_grid->font();
    if (base.pointSizeF() <= 0)
        base.setPointSizeF(base.pixelSize() * 72.0 / 96.0);
    base.setFamilies({kPrintFont});
    const QFont cellFont(base, device);
    QFont footerFont = cellFont;
    footerFont.setBold(true);
    QFont titleFont = cellFont;
    titleFont.setBold(true);
    titleFont.setPointSizeF(cellFont.pointSizeF() * 1.6);
    QFont bandFont(kPrintFont);
    bandFont.setPixelSize(qMax(1, qRound(12 * k)));
    bandFont = QFont(bandFont, device);
    const QFontMetricsF fm(cellFont, device);
    const QFontMetricsF ffm(footerFont, device);
    const QFontMetricsF tfm(titleFont, device);
    const QFontMetricsF bfm(bandFont, device);
    const double padX = 3 * k;
    const double padY = 2 * k;
    const bool stretch = m_options.fit == GridPrintFit::PageWidth;

    // --- columns and the page width ---
    QVector<PrintColumn> cols;
    double total = 0;
    for (int c : m_grid->visibleColumns()) {
        const GridColumn gc = m_grid->column(c);
        PrintColumn pc;
        pc.index = c;
        pc.width = qMax(1, m_grid->gridColumnWidth(c)) * k;
        pc.alignment = m_grid->columnAlignment(c);
        pc.group = gc.groupTitle();
        pc.name = gc.nameTitle();
        total += pc.width;
        cols << pc;
    }
    double scale = 1;
    if (m_options.fit == GridPrintFit::PageWidth && total > pageW)
        scale = pageW / total;
    if (m_options.fit == GridPrintFit::ColumnWidths && total > 0)
        for (PrintColumn &pc : cols)
            pc.width *= pageW / total;
    QVector<QVector<PrintColumn>> bands;
    if (m_options.fit == GridPrintFit::None) {
        QVector<PrintColumn> band;
        double used = 0;
        for (PrintColumn pc : std::as_const(cols)) {
            pc.width = std::min(pc.width, pageW);
            if (!band.isEmpty() && used + pc.width > pageW + 0.5) {
                bands << band;
                band.clear();
                used = 0;
            }
            band << pc;
            used += pc.width;
        }
        bands << band;
    } else {
        bands << cols;
    }

    // --- heights (unscaled device units) ---
    auto textHeight = [&](const QFontMetricsF &m, const QString &text, double width, bool wrap) {
        const double inner = std::max(1.0, width - 2 * padX);
        if (!wrap || text.isEmpty() ||
            (!text.contains(QLatin1Char('\n')) && m.horizontalAdvance(text) <= inner))
            return m.height() + 2 * padY;
        return m.boundingRect(QRectF(0, 0, inner, 1e9), wrapFlag(text), text).height() + 2 * padY;
    };
    struct HeaderShape {
        bool grouped = false;
        double line1 = 0; // the group line of a grouped title row
        double height = 0;
    };
    auto headerShape = [&](const QVector<PrintColumn> &band) {
        HeaderShape h;
        for (const PrintColumn &pc : band)
            h.grouped = h.grouped || !pc.group.isEmpty();
        if (!h.grouped) {
            h.height = fm.height() + 2 * padY;
            for (const PrintColumn &pc : band)
                h.height = std::max(h.height, textHeight(fm, pc.name, pc.width, true));
            return h;
        }
        double line2 = fm.height() + 2 * padY;
        h.line1 = line2;
        for (int i = 0; i < band.size();) {
            int j = i + 1;
            double w = band.at(i).width;
            while (!band.at(i).group.isEmpty() && j < band.size() && band.at(j).group == band.at(i).group)
                w += band.at(j++).width;
            if (!band.at(i).group.isEmpty())
                h.line1 = std::max(h.line1, textHeight(fm, band.at(i).group, w, true));
            i = j;
        }
        for (const PrintColumn &pc : band)
            if (!pc.group.isEmpty())
                line2 = std::max(line2, textHeight(fm, pc.name, pc.width, true));
        for (const PrintColumn &pc : band)
            if (pc.group.isEmpty())
                line2 = std::max(line2, textHeight(fm, pc.name, pc.width, true) - h.line1);
        h.height = h.line1 + line2;
        return h;
    };
    QVector<HeaderShape> shapes;
    double headerH = 0;
    for (const auto &band : std::as_const(bands)) {
        shapes << headerShape(band);
        headerH = std::max(headerH, shapes.last().height);
    }

    const int rows = m_grid->rowCount();
    const double lineH = fm.height() + 2 * padY;
    QVector<double> rowH(rows, lineH);
    if (stretch)
        for (int r = 0; r < rows; ++r)
            for (const PrintColumn &pc : std::as_const(cols))
                rowH[r] = std::max(rowH[r], textHeight(fm, m_grid->cellText(r, pc.index), pc.width, true));
    const bool hasFooter = m_grid->hasFooter() && !cols.isEmpty();
    double footerH = ffm.height() + 2 * padY;
    if (hasFooter && stretch)
        for (const PrintColumn &pc : std::as_const(cols))
            footerH = std::max(footerH, textHeight(ffm, m_grid->footerText(pc.index), pc.width, true));

    // --- pages of rows ---
    const double headBandH = m_options.headerLeft.isEmpty() ? 0 : bfm.height() + 3 * k;
    const double footBandH = bfm.height() + 3 * k;
    const double titleH = m_options.title.isEmpty() ? 0 : 3 * tfm.height();
    const double gridAreaH = pageH - headBandH - footBandH;
    QVector<RowPage> pages;
    int r = 0;
    bool footerPlaced = !hasFooter;
    do {
        const double avail = (gridAreaH - (pages.isEmpty() ? titleH : 0)) / scale - headerH;
        RowPage page;
        page.first = page.end = r;
        double y = 0;
        while (r < rows && (y + rowH.at(r) <= avail || page.end == page.first)) {
            y += rowH.at(r);
            page.end = ++r;
        }
        if (r == rows && !footerPlaced && (y + footerH <= avail || page.end == page.first)) {
            page.footer = true;
            footerPlaced = true;
        }
        pages << page;
    } while (r < rows || !footerPlaced);

    m_bands = bands.size();
    m_rowPages = pages.size();
    const int totalPages = m_bands * m_rowPages;

    // --- painting ---
    const QPen gridPen(Qt::black, std::max(1.0, k * 0.75));
    const QColor titleBack = m_grid->titleColor().isValid() ? m_grid->titleColor() : QColor(232, 232, 232);
    const QColor footerBack = m_grid->footerColor().isValid() ? m_grid->footerColor() : QColor(255, 248, 220);
    const DBGridModel *model = m_grid->gridModel();
    auto drawCell = [&](const QRectF &rect, const QString &text, Qt::Alignment align, bool wrap,
                        const QFontMetricsF &m, const QColor &back, const QColor &fore) {
        if (back.isValid())
            p.fillRect(rect, back);
        p.setPen(gridPen);
        p.drawRect(rect);
        if (text.isEmpty())
            return;
        p.setPen(fore.isValid() ? fore : QColor(Qt::black));
        const QRectF inner = rect.adjusted(padX, padY, -padX, -padY);
        if (wrap)
            p.drawText(inner, int(align | Qt::AlignVCenter) | wrapFlag(text), text);
        else
            p.drawText(inner, int(align | Qt::AlignVCenter),
                       m.elidedText(text, Qt::ElideRight, inner.width()));
    };

    int pageNo = 0;
    for (int b = 0; b < bands.size(); ++b) {
        const QVector<PrintColumn> &band = bands.at(b);
        const HeaderShape &shape = shapes.at(b);
        for (int pi = 0; pi < pages.size(); ++pi) {
            if (pageNo > 0 && !device->newPage()) {
                p.end();
                return pageNo;
            }
            ++pageNo;
            p.setPen(Qt::black);
            p.setFont(bandFont);
            if (headBandH > 0)
                p.drawText(QRectF(0, 0, pageW, bfm.height()), Qt::AlignLeft | Qt::AlignVCenter,
                           m_options.headerLeft);
            double top = headBandH;
            if (pi == 0 && titleH > 0) {
                p.setFont(titleFont);
                p.drawText(QRectF(0, top + tfm.height(), pageW, tfm.height()), Qt::AlignCenter,
                           m_options.title);
                top += titleH;
            }

            p.save();
            p.translate(0, top);
            p.scale(scale, scale);
            p.setFont(cellFont);
            // title row(s)
            double x = 0;
            for (int i = 0; i < band.size();) {
                const PrintColumn &pc = band.at(i);
                if (pc.group.isEmpty()) {
                    drawCell(QRectF(x, 0, pc.width, shape.height), pc.name, Qt::AlignHCenter, true, fm,
                             titleBack, QColor());
                    x += pc.width;
                    ++i;
                    continue;
                }
                int j = i;
                double groupW = 0;
                while (j < band.size() && band.at(j).group == pc.group)
                    groupW += band.at(j++).width;
                drawCell(QRectF(x, 0, groupW, shape.line1), pc.group, Qt::AlignHCenter, true, fm, titleBack,
                         QColor());
                for (; i < j; ++i) {
                    const PrintColumn &g = band.at(i);
                    drawCell(QRectF(x, shape.line1, g.width, shape.height - shape.line1), g.name,
                             Qt::AlignHCenter, true, fm, titleBack, QColor());
                    x += g.width;
                }
            }
            // rows
            double y = shape.height;
            const RowPage &page = pages.at(pi);
            for (int row = page.first; row < page.end; ++row) {
                x = 0;
                for (const PrintColumn &pc : band) {
                    const QModelIndex idx = model->index(row, pc.index);
                    drawCell(QRectF(x, y, pc.width, rowH.at(row)), m_grid->cellText(row, pc.index),
                             horizontal(pc.alignment), stretch, fm,
                             colourOf(model->data(idx, Qt::BackgroundRole)),
                             colourOf(model->data(idx, Qt::ForegroundRole)));
                    x += pc.width;
                }
                y += rowH.at(row);
            }
            if (page.footer) {
                p.setFont(footerFont);
                x = 0;
                for (const PrintColumn &pc : band) {
                    drawCell(QRectF(x, y, pc.width, footerH), m_grid->footerText(pc.index),
                             horizontal(pc.alignment), stretch, ffm, footerBack, QColor());
                    x += pc.width;
                }
            }
            p.restore();

            // page footer: the page number in the middle, the footer text on the right
            p.setPen(Qt::black);
            p.setFont(bandFont);
            const QRectF footRect(0, pageH - bfm.height(), pageW, bfm.height());
            p.drawText(footRect, Qt::AlignHCenter | Qt::AlignVCenter,
                       QStringLiteral("第 %1 页 / 共 %2 页").arg(pageNo).arg(totalPages));
            if (!m_options.footerRight.isEmpty())
                p.drawText(footRect, Qt::AlignRight | Qt::AlignVCenter, m_options.footerRight);
        }
    }
    p.end();
    return totalPages;
}

QString gridFooterText(const QString &footerRight, const QDate &today) {
    QString text = footerRight;
    text.replace(QLatin1String("date"),
                 QStringLiteral("打印日期：") + today.toString(QStringLiteral("yyyy年MM月dd日")));
    return text;
}

GridPrintOptions gridPrintOptions(const QString &title, int fitMode, const QString &footerRight,
                                  const QString &headerLeft, const QDate &today) {
    if (fitMode == 0)
        g_fit = GridPrintFit::PageWidth;
    else if (fitMode == 1)
        g_fit = GridPrintFit::ColumnWidths;
    GridPrintOptions o;
    o.fit = g_fit;
    o.title = title.trimmed().isEmpty() ? QString() : title;
    o.headerLeft = headerLeft.trimmed().isEmpty() ? QString() : headerLeft;
    o.footerRight = footerRight.trimmed().isEmpty() ? QString() : gridFooterText(footerRight, today);
    return o;
}

void PrintGrid(DBGridEh *grid, const QString &title, int fitMode, const QString &footerRight,
               const QString &headerLeft, QWidget *parent) {
    if (!grid)
        return;
    GridPrinter printer(grid, gridPrintOptions(title, fitMode, footerRight, headerLeft));
    QPrinter device(QPrinter::HighResolution);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    device.setColorMode(QPrinter::Color);
    device.setDocName(title);
    QPrintPreviewDialog dialog(&device, parent ? parent : grid->window());
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&printer](QPrinter *target) { printer.print(target); });
    if (g_runner) {
        g_runner(&dialog);
        return;
    }
    DispFormPos(&dialog, 2);
    dialog.exec();
}

void setGridPreviewRunner(GridPreviewRunner runner) {
    g_runner = std::move(runner);
}
