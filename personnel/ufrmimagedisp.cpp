#include "ufrmimagedisp.h"

#include "core/enternavigation.h"
#include "core/keltrin.h"
#include "core/prompter.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr double kFactors[15] = {0.05, 0.07, 0.1, 0.15, 0.2, 0.3, 0.5, 0.7,
                                 1.0,  1.5,  2.0, 3.0,  5.0, 7.0, 10.0};
constexpr int kNaturalStep = 9;

// GIF image data: codes of 9 bits, LSB first, in sub-blocks of at most 255 bytes.
class GifCodeWriter {
public:
    explicit GifCodeWriter(QByteArray *out) : m_out(out) {}
    void put(int code) {
        m_acc |= quint32(code) << m_bits;
        m_bits += 9;
        while (m_bits >= 8) {
            byte(char(m_acc & 0xff));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    void finish() {
        if (m_bits > 0)
            byte(char(m_acc & 0xff));
        flushBlock();
        m_out->append(char(0));
    }

private:
    void byte(char b) {
        m_block.append(b);
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock() {
        if (m_block.isEmpty())
            return;
        m_out->append(char(m_block.size()));
        m_out->append(m_block);
        m_block.clear();
    }
    QByteArray *m_out;
    QByteArray m_block;
    quint32 m_acc = 0;
    int m_bits = 0;
};

void putWord(QByteArray &out, int v) {
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

QString replacedSuffix(const QString &fileName, const QString &suffix) {
    const QFileInfo fi(fileName);
    const QString base = fi.completeBaseName().isEmpty() ? fi.fileName() : fi.completeBaseName();
    return QDir(fi.path()).filePath(base + suffix);
}

} // namespace

double imageZoomFactor(int step) {
    return kFactors[qBound(1, step, 15) - 1];
}

QSize imageZoomedSize(const QSize &natural, int step) {
    const double f = imageZoomFactor(step);
    return QSize(int(std::lround(natural.width() * f)), int(std::lround(natural.height() * f)));
}

QPoint imageCentredOffset(const QSize &area, const QSize &panel) {
    return QPoint(area.width() < panel.width() ? 0 : (area.width() - panel.width()) / 2,
                  area.height() < panel.height() ? 0 : (area.height() - panel.height()) / 2);
}

bool writeGif(const QImage &image, QIODevice *device) {
    if (image.isNull() || image.width() > 0xffff || image.height() > 0xffff)
        return false;
    const QImage indexed =
        image.convertToFormat(QImage::Format_RGB32)
            .convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::PreferDither);
    QList<QRgb> colours = indexed.colorTable();
    if (colours.isEmpty())
        colours << qRgb(0, 0, 0);
    int bits = 1;
    while ((1 << bits) < colours.size())
        ++bits;
    while (colours.size() < (1 << bits))
        colours << qRgb(0, 0, 0);

    QByteArray out("GIF89a");
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out.append(char(0x80 | (7 << 4) | (bits - 1)));
    out.append(char(0));
    out.append(char(0));
    for (QRgb c : colours) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2c));
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out.append(char(0));
    // Literal codes only, with a clear code often enough that the code width stays at 9 bits.
    out.append(char(8));
    GifCodeWriter codes(&out);
    const int clear = 256, end = 257;
    int run = 0;
    codes.put(clear);
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            if (run == 254) {
                codes.put(clear);
                run = 0;
            }
            codes.put(line[x]);
            ++run;
        }
    }
    codes.put(end);
    codes.finish();
    out.append(char(0x3b));
    return device->write(out) == out.size();
}

bool writePicture(const QImage &image, const QString &fileName, int filterIndex, QString *written,
                  QString *error) {
    static const char *const suffixes[] = {".jpg", ".gif", ".bmp"};
    const int index = qBound(1, filterIndex, 3);
    const QString target = replacedSuffix(fileName, QString::fromLatin1(suffixes[index - 1]));
    if (written)
        *written = target;
    const auto fail = [&] {
        if (error)
            *error =
                QStringLiteral("写入文件：%1时发生错误！\r请检查文件夹是否存在、是否有写入权限以及磁盘空间。")
                    .arg(target);
        return false;
    };
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("当前没有图片可以输出！");
        return false;
    }
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly))
        return fail();
    bool ok = false;
    if (index == 1) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, image);
        }
        ok = flat.save(&f, "JPG", 90);
    } else if (index == 2) {
        ok = writeGif(image, &f);
    } else {
        ok = image.convertToFormat(QImage::Format_RGB32).save(&f, "BMP");
    }
    if (!ok || !f.commit())
        return fail();
    return true;
}

TfrmImageDisp::TfrmImageDisp(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("图像显示"));
    setSizeGripEnabled(true);
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(14);
    setFont(f);
    resize(668, 520);

    const auto addAction = [this](const QString &caption, const char *icon) {
        auto *a = new QAction(QIcon::fromTheme(QString::fromLatin1(icon)), caption, this);
        m_actions.insert(caption, a);
        return a;
    };
    QAction *load = addAction(QStringLiteral("载入"), "document-open");
    QAction *output = addAction(QStringLiteral("输出"), "document-save-as");
    QAction *clear = addAction(QStringLiteral("清空"), "edit-clear");
    QAction *in = addAction(QStringLiteral("放大"), "zoom-in");
    QAction *out = addAction(QStringLiteral("缩小"), "zoom-out");
    QAction *natural = addAction(QStringLiteral("原始尺寸"), "zoom-original");
    QAction *full = addAction(QStringLiteral("全屏"), "view-fullscreen");
    QAction *save = addAction(QStringLiteral("保存"), "dialog-ok");
    QAction *cancel = addAction(QStringLiteral("取消"), "dialog-cancel");
    connect(load, &QAction::triggered, this, &TfrmImageDisp::cmdLoad);
    connect(output, &QAction::triggered, this, &TfrmImageDisp::cmdOutput);
    connect(clear, &QAction::triggered, this, &TfrmImageDisp::cmdClear);
    connect(in, &QAction::triggered, this, &TfrmImageDisp::zoomIn);
    connect(out, &QAction::triggered, this, &TfrmImageDisp::zoomOut);
    connect(natural, &QAction::triggered, this, &TfrmImageDisp::naturalSize);
    connect(full, &QAction::triggered, this, &TfrmImageDisp::fullScreen);
    connect(save, &QAction::triggered, this, &QDialog::accept);
    connect(cancel, &QAction::triggered, this, &QDialog::reject);

    m_menu = new QMenuBar(this);
    QMenu *edit = m_menu->addMenu(QStringLiteral("编辑"));
    edit->addActions({load, output, clear});
    edit->addSeparator();
    edit->addActions({save, cancel});
    QMenu *zoom = m_menu->addMenu(QStringLiteral("缩放"));
    zoom->addActions({in, out, natural, full});

    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->addActions({load, output, clear});
    m_toolBar->addSeparator();
    m_toolBar->addActions({in, out});
    QAction *naturalButton = m_toolBar->addAction(natural->icon(), QStringLiteral("原始"));
    connect(naturalButton, &QAction::triggered, this, &TfrmImageDisp::naturalSize);
    m_toolBar->addAction(full);
    m_toolBar->addSeparator();
    m_toolBar->addActions({save, cancel});

    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Shadow);
    QPalette black = m_scroll->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::Shadow, Qt::black);
    m_scroll->setPalette(black);
    m_scroll->setAutoFillBackground(true);
    m_scroll->setWidgetResizable(false);
    m_canvas = new QWidget;
    m_canvas->setPalette(black);
    m_canvas->setAutoFillBackground(true);
    m_panel = new QLabel(m_canvas);
    m_panel->setScaledContents(true);
    m_panel->setPalette(black);
    m_panel->setAutoFillBackground(true);
    m_panel->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *sep1 = new QAction(this);
    sep1->setSeparator(true);
    auto *sep2 = new QAction(this);
    sep2->setSeparator(true);
    m_panel->addActions({load, output, clear, sep1, in, out, natural, full, sep2, save, cancel});
    m_scroll->setWidget(m_canvas);
    m_scroll->viewport()->installEventFilter(this);

    m_status = new QStatusBar(this);
    m_status->setSizeGripEnabled(false);
    const int widths[6] = {50, 120, 50, 50, 50, 50};
    for (int i = 0; i < 6; ++i) {
        auto *l = new QLabel(m_status);
        l->setFixedWidth(widths[i]);
        if (i < 5)
            l->setAlignment(Qt::AlignCenter);
        m_status->addWidget(l);
        m_panels << l;
    }

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->setMenuBar(m_menu);
    m_layout->addWidget(m_toolBar);
    m_layout->addWidget(m_scroll, 1);
    m_layout->addWidget(m_status);

    new DialogKeyFilter(this, [this](QWidget *, QKeyEvent *event) { return handleKey(event); });
    naturalSize();
}

TfrmImageDisp::~TfrmImageDisp() = default;

QString TfrmImageDisp::ChoosePicture(const QString &path) {
    m_path = path;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        loadFile(path);
    DispFormPos(this, 2);
    resize(668, 520);
    naturalSize();
    return exec() == QDialog::Accepted ? m_path : path;
}

void TfrmImageDisp::setPicture(const QImage &image) {
    m_image = image;
    naturalSize();
}

bool TfrmImageDisp::loadFile(const QString &path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) {
        ShowMess(QStringLiteral("读取文件：") + path + QStringLiteral("时发生错误！\r") +
                     QStringLiteral("该文件不是标准格式的文件，或者该文件已经被损坏！"),
                 3);
        return false;
    }
    m_image = image;
    naturalSize();
    return true;
}

void TfrmImageDisp::cmdLoad() {
    const QString file =
        prompter().openFileName(this, QStringLiteral("载入图片"), QFileInfo(m_path).path(),
                                QStringLiteral("Image Files (*.bmp *.jpg *.jpeg *.gif *.png);;"
                                               "Bitmap Files (*.jpg *.jpeg);;Bitmap Files (*.gif);;"
                                               "Bitmap Files (*.bmp)"));
    if (file.isEmpty())
        return;
    m_path = file;
    loadFile(file);
}

void TfrmImageDisp::cmdOutput() {
    if (m_image.isNull()) {
        ShowMess(QStringLiteral("当前没有图片可以输出！"), 0);
        return;
    }
    int filter = 1;
    const QString file =
        prompter().saveFileName(this, QStringLiteral("输出图片"), QFileInfo(m_path).completeBaseName(),
                                QStringLiteral("Bitmap Files (*.jpg *.jpeg);;Bitmap Files (*.gif);;"
                                               "Bitmap Files (*.bmp)"),
                                &filter);
    if (file.isEmpty())
        return;
    QString written, error;
    if (!writePicture(m_image, file, filter, &written, &error))
        ShowMess(error, 3);
}

void TfrmImageDisp::cmdClear() {
    m_image = QImage();
    m_path.clear();
    naturalSize();
}

void TfrmImageDisp::zoomIn() {
    if (m_step >= 15)
        return;
    ++m_step;
    applyZoom();
}

void TfrmImageDisp::zoomOut() {
    if (m_step <= 1)
        return;
    --m_step;
    applyZoom();
}

void TfrmImageDisp::naturalSize() {
    m_step = kNaturalStep;
    applyZoom();
}

void TfrmImageDisp::applyZoom() {
    m_panel->setPixmap(m_image.isNull() ? QPixmap() : QPixmap::fromImage(m_image));
    m_panel->resize(imageZoomedSize(m_image.size(), m_step));
    m_actions.value(QStringLiteral("放大"))->setEnabled(m_step < 15);
    m_actions.value(QStringLiteral("缩小"))->setEnabled(m_step > 1);
    place();
    updateStatus();
}

void TfrmImageDisp::place() {
    const QSize area = m_scroll->viewport()->size();
    const QSize panel = m_panel->size();
    m_canvas->resize(qMax(area.width(), panel.width()), qMax(area.height(), panel.height()));
    m_panel->move(imageCentredOffset(area, panel));
}

void TfrmImageDisp::updateStatus() {
    const QFontMetrics fm(m_panels.at(1)->font());
    m_panels[1]->setText(m_path);
    m_panels[1]->setFixedWidth(fm.horizontalAdvance(m_path) + 20);
    const QString size = QStringLiteral("%1x%2").arg(m_image.width()).arg(m_image.height());
    m_panels[2]->setText(size);
    m_panels[2]->setFixedWidth(fm.horizontalAdvance(size) + 20);
    m_panels[3]->setText(QString::number(std::lround(imageZoomFactor(m_step) * 100)) + QStringLiteral("%"));
    m_panels[4]->setFixedWidth(0);
}

QSize TfrmImageDisp::panelSize() const {
    return m_panel->size();
}

QPoint TfrmImageDisp::panelPos() const {
    return m_panel->pos();
}

void TfrmImageDisp::fullScreen() {
    if (m_frameless)
        return;
    m_frameless = true;
    const bool shown = isVisible();
    const QRect geo = geometry();
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    m_menu->hide();
    m_toolBar->hide();
    m_status->hide();
    m_layout->setEnabled(false);
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = s ? s->size() : QSize(1024, 768);
    m_scroll->setGeometry(-2, -2, screenSize.width() + 4, screenSize.height() + 4);
    setGeometry(geo);
    if (shown)
        show();
    naturalSize();
}

void TfrmImageDisp::leaveFullScreen() {
    if (!m_frameless)
        return;
    m_frameless = false;
    const bool shown = isVisible();
    const QRect geo = geometry();
    setWindowFlags(windowFlags() & ~Qt::FramelessWindowHint);
    m_menu->show();
    m_toolBar->show();
    m_status->show();
    m_layout->setEnabled(true);
    m_layout->activate();
    setGeometry(geo);
    if (shown)
        show();
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    naturalSize();
}

void TfrmImageDisp::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    place();
}

bool TfrmImageDisp::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        place();
    return QDialog::eventFilter(watched, event);
}

bool TfrmImageDisp::handleKey(QKeyEvent *event) {
    QScrollBar *h = m_scroll->horizontalScrollBar();
    QScrollBar *v = m_scroll->verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Slash:
    case Qt::Key_Space:
        naturalSize();
        return true;
    case Qt::Key_PageUp:
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        return true;
    case Qt::Key_PageDown:
        v->triggerAction(QAbstractSlider::SliderPageStepAdd);
        return true;
    case Qt::Key_Up:
        v->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return true;
    case Qt::Key_Down:
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return true;
    case Qt::Key_Left:
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return true;
    case Qt::Key_Right:
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return true;
    case Qt::Key_Escape:
        // outside the frameless view Esc does nothing
        leaveFullScreen();
        return true;
    default:
        return false;
    }
}
