#pragma once
#include <QDialog>
#include <QImage>
#include <QMap>

class QAction;
class QLabel;
class QMenuBar;
class QScrollArea;
class QStatusBar;
class QToolBar;
class QVBoxLayout;
class QIODevice;

// The zoom factor of a zoom step 1 … 15 (step 9 is natural size).
double imageZoomFactor(int step);
// The size a picture of size natural is shown at in zoom step step (rounded to whole pixels).
QSize imageZoomedSize(const QSize &natural, int step);
// Where a panel of size panel sits in an area of size area: centred in each direction where
// the area is larger, at 0 where it is not.
QPoint imageCentredOffset(const QSize &area, const QSize &panel);
// Writes image as a GIF file (256 colours at most).
bool writeGif(const QImage &image, QIODevice *device);
// Writes image under fileName with its extension replaced by the one the output filter names
// (1 ".jpg" JPEG, 2 ".gif" GIF, 3 ".bmp" bitmap), converted to that format. *written receives
// the name written; false with *error a message for the user when it cannot be written.
bool writePicture(const QImage &image, const QString &fileName, int filterIndex, QString *written,
                  QString *error = nullptr);

// The picture window "图像显示": shows a picture large, loads another picture file, clears it,
// zooms in fifteen steps, shows it without window frame and writes a copy of it to a file.
// ChoosePicture() returns the path of the picture the user settled on.
class TfrmImageDisp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmImageDisp(QWidget *parent = nullptr);
    ~TfrmImageDisp() override;

    // Shows the window modally with path's picture when that file exists (a picture put in with
    // setPicture() stays on view otherwise). The current path when closed through "保存"
    // (empty after "清空"), otherwise path unchanged.
    QString ChoosePicture(const QString &path);

    // Puts a picture on view (the caller's current photo) without changing the current path.
    void setPicture(const QImage &image);
    // Loads a picture file and shows it at natural size; on failure shows the error box, keeps
    // the previous picture and returns false.
    bool loadFile(const QString &path);

    // The commands (tool bar, menu and pop-up menu run the same ones).
    void cmdLoad();
    void cmdOutput();
    void cmdClear();
    void zoomIn();
    void zoomOut();
    void naturalSize();
    void fullScreen();
    void leaveFullScreen();

    QString currentPath() const { return m_path; }
    void setCurrentPath(const QString &path) { m_path = path; }
    QImage picture() const { return m_image; }
    int zoomStep() const { return m_step; }
    bool isFrameless() const { return m_frameless; }
    QSize panelSize() const;
    QPoint panelPos() const;
    QScrollArea *scrollArea() const { return m_scroll; }
    // Status panels 0 … 5.
    QLabel *statusPanel(int index) const { return m_panels.value(index); }
    // A command by its caption: 载入 输出 清空 放大 缩小 原始尺寸 全屏 保存 取消.
    QAction *command(const QString &caption) const { return m_actions.value(caption); }
    QToolBar *toolBar() const { return m_toolBar; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    void applyZoom();
    void place();
    void updateStatus();

    QString m_path;
    int m_step = 9;
    bool m_frameless = false;
    QImage m_image;
    QVBoxLayout *m_layout;
    QMenuBar *m_menu;
    QToolBar *m_toolBar;
    QScrollArea *m_scroll;
    QWidget *m_canvas;
    QLabel *m_panel;
    QStatusBar *m_status;
    QList<QLabel *> m_panels;
    QMap<QString, QAction *> m_actions;
};
