#include "personnel/ufrmimagedisp.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <unistd.h>

namespace {

QImage pattern(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::blue);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::green);
    return img;
}

} // namespace

class TestImageDisp : public QObject {
    Q_OBJECT
private slots:
    void zoomSteps_data() {
        QTest::addColumn<int>("presses"); // positive: 放大, negative: 缩小
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QSize>("panel");
        QTest::addColumn<bool>("inEnabled");
        QTest::addColumn<bool>("outEnabled");
        QTest::newRow("natural") << 0 << "100%" << QSize(640, 480) << true << true;
        QTest::newRow("one in") << 1 << "150%" << QSize(960, 720) << true << true;
        QTest::newRow("six in reach the top") << 6 << "1000%" << QSize(6400, 4800) << false << true;
        QTest::newRow("seven in stay at the top") << 7 << "1000%" << QSize(6400, 4800) << false << true;
        QTest::newRow("one out") << -1 << "70%" << QSize(448, 336) << true << true;
        QTest::newRow("three out") << -3 << "30%" << QSize(192, 144) << true << true;
        QTest::newRow("eight out reach the bottom") << -8 << "5%" << QSize(32, 24) << true << false;
        QTest::newRow("nine out stay at the bottom") << -9 << "5%" << QSize(32, 24) << true << false;
    }
    void zoomSteps() {
        QFETCH(int, presses);
        QFETCH(QString, percent);
        QFETCH(QSize, panel);
        QFETCH(bool, inEnabled);
        QFETCH(bool, outEnabled);
        TfrmImageDisp w;
        w.setPicture(pattern(640, 480));
        w.show();
        QAction *in = w.command(QStringLiteral("放大"));
        QAction *out = w.command(QStringLiteral("缩小"));
        for (int i = 0; i < qAbs(presses); ++i)
            (presses > 0 ? in : out)->trigger();
        QCOMPARE(w.statusPanel(3)->text(), percent);
        QCOMPARE(w.panelSize(), panel);
        QCOMPARE(in->isEnabled(), inEnabled);
        QCOMPARE(out->isEnabled(), outEnabled);
        QCOMPARE(w.statusPanel(2)->text(), QStringLiteral("640x480"));
        // 原始尺寸 always returns to natural size with both directions open
        w.command(QStringLiteral("原始尺寸"))->trigger();
        QCOMPARE(w.zoomStep(), 9);
        QCOMPARE(w.statusPanel(3)->text(), QStringLiteral("100%"));
        QVERIFY(in->isEnabled() && out->isEnabled());
    }

    void factorTable() {
        const double expected[] = {0.05, 0.07, 0.1, 0.15, 0.2, 0.3, 0.5, 0.7,
                                   1.0,  1.5,  2.0, 3.0,  5.0, 7.0, 10.0};
        for (int step = 1; step <= 15; ++step)
            QCOMPARE(imageZoomFactor(step), expected[step - 1]);
        QCOMPARE(imageZoomedSize(QSize(33, 7), 2), QSize(2, 0)); // 2.31 → 2, 0.49 → 0
    }

    void smallPictureIsCentred() {
        TfrmImageDisp w;
        w.setPicture(pattern(640, 480));
        w.show();
        for (int i = 0; i < 8; ++i)
            w.zoomOut();
        const QSize area = w.scrollArea()->viewport()->size();
        QCOMPARE(w.panelSize(), QSize(32, 24));
        QCOMPARE(w.panelPos(), QPoint((area.width() - 32) / 2, (area.height() - 24) / 2));
        w.naturalSize();
        w.zoomIn();
        w.zoomIn(); // 1280 x 960, larger than the area: top left
        QCOMPARE(w.panelPos(), QPoint(0, 0));
        QCOMPARE(imageCentredOffset(QSize(100, 50), QSize(40, 80)), QPoint(30, 0));
    }

    void keysShowNaturalSize() {
        TfrmImageDisp w;
        w.setPicture(pattern(64, 48));
        w.show();
        QApplication::setActiveWindow(&w);
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Slash}) {
            w.zoomIn();
            QTest::keyClick(&w, key);
            QCOMPARE(w.zoomStep(), 9);
        }
        QTest::keyClick(&w, Qt::Key_Escape); // outside the frameless view Esc does nothing
        QVERIFY(w.isVisible());
    }

    void framelessView() {
        TfrmImageDisp w;
        w.setPicture(pattern(64, 48));
        w.show();
        QApplication::setActiveWindow(&w);
        w.zoomIn();
        w.command(QStringLiteral("全屏"))->trigger();
        QVERIFY(w.isFrameless());
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!w.toolBar()->isVisible());
        QCOMPARE(w.zoomStep(), 9);
        QCOMPARE(w.scrollArea()->pos(), QPoint(-2, -2));
        QApplication::setActiveWindow(&w);
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isFrameless());
        QVERIFY(w.isVisible());
        QVERIFY(!(w.windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(w.toolBar()->isVisible());
    }

    void writePictureConverts_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("jpeg") << 1 << "copy.jpg" << QByteArray("jpeg");
        QTest::newRow("gif") << 2 << "copy.gif" << QByteArray("gif");
        QTest::newRow("bmp") << 3 << "copy.bmp" << QByteArray("bmp");
    }
    void writePictureConverts() {
        QFETCH(int, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, format);
        TestDb db;
        QVERIFY(db.ok());
        TfrmImageDisp w;
        w.setPicture(pattern(41, 31));
        w.setCurrentPath("/somewhere/face.png");
        db.responder.fileNames.enqueue(QDir(db.dir()).filePath("copy.png"));
        db.responder.filterIndexes.enqueue(filter);
        w.command(QStringLiteral("输出"))->trigger();
        QCOMPARE(db.responder.texts(), QStringList());
        const QString path = QDir(db.dir()).filePath(written);
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(QDir(db.dir()).filePath("copy.png")));
        QImageReader reader(path);
        QCOMPARE(reader.format(), format);
        const QImage back = reader.read();
        QCOMPARE(back.size(), QSize(41, 31));
        const QRgb red = back.pixel(3, 3), green = back.pixel(3, 28), white = back.pixel(38, 28);
        QVERIFY(qRed(red) > 200 && qGreen(red) < 60);
        QVERIFY(qGreen(green) > 100 && qRed(green) < 60);
        QVERIFY(qRed(white) > 200 && qGreen(white) > 200 && qBlue(white) > 200);
        if (filter != 1) // lossless formats give the colours back exactly
            QCOMPARE(back.pixel(3, 3), qRgb(255, 0, 0));
        QCOMPARE(w.currentPath(), QStringLiteral("/somewhere/face.png"));
    }

    void gifKeepsManyColours() {
        // more than 256 colours: a palette is chosen, the picture stays readable at its size
        QImage img(300, 20, QImage::Format_RGB32);
        for (int x = 0; x < 300; ++x)
            for (int y = 0; y < 20; ++y)
                img.setPixel(x, y, qRgb(x % 256, (x * 7) % 256, y * 10));
        QTemporaryDir dir;
        QString written;
        QVERIFY(writePicture(img, dir.filePath("many"), 2, &written));
        QCOMPARE(written, dir.filePath("many.gif"));
        QImage back(written);
        QCOMPARE(back.size(), img.size());
    }

    void unwritableTargetSaysSo() {
        TestDb db;
        QVERIFY(db.ok());
        TfrmImageDisp w;
        w.setPicture(pattern(10, 10));
        const QString target = QDir(db.dir()).filePath("no/such/folder/out.bmp");
        db.responder.fileNames.enqueue(target);
        db.responder.filterIndexes.enqueue(3);
        w.cmdOutput();
        QCOMPARE(db.responder.messages.size(), 1);
        QCOMPARE(db.responder.messages.first().kind, 3);
        QVERIFY(db.responder.messages.first().text.contains(target));
        QVERIFY(!QFile::exists(target));
        // nothing to write: said, no dialog
        db.responder.clear();
        w.cmdClear();
        w.cmdOutput();
        QCOMPARE(db.responder.texts(), QStringList{QStringLiteral("当前没有图片可以输出！")});
    }

    void unreadableFileKeepsPicture() {
        TestDb db;
        QVERIFY(db.ok());
        const QString bad = QDir(db.dir()).filePath("bad.gif");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("GIF89a but broken");
        f.close();
        TfrmImageDisp w;
        w.setPicture(pattern(20, 10));
        db.responder.fileNames.enqueue(bad);
        w.command(QStringLiteral("载入"))->trigger();
        QCOMPARE(
            db.responder.texts(),
            QStringList{QStringLiteral("读取文件：") + bad +
                        QStringLiteral("时发生错误！\r该文件不是标准格式的文件，或者该文件已经被损坏！")});
        QCOMPARE(db.responder.messages.first().kind, 3);
        QCOMPARE(w.picture().size(), QSize(20, 10));
        QCOMPARE(w.currentPath(), bad); // the path already names the chosen file
    }

    void choosePictureResult_data() {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("result"); // "given", "loaded" or "empty"
        QTest::newRow("save unchanged") << "保存"
                                        << "given";
        QTest::newRow("cancel after load") << "载入,取消"
                                           << "given";
        QTest::newRow("save after load") << "载入,保存"
                                         << "loaded";
        QTest::newRow("clear then save") << "清空,保存"
                                         << "empty";
    }
    void choosePictureResult() {
        QFETCH(QString, commands);
        QFETCH(QString, result);
        TestDb db;
        QVERIFY(db.ok());
        const QString given = QDir(db.dir()).filePath("given.bmp");
        const QString other = QDir(db.dir()).filePath("other.gif");
        QVERIFY(pattern(30, 20).save(given, "BMP"));
        QFile f(other);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(writeGif(pattern(50, 40), &f));
        f.close();
        db.responder.fileNames.enqueue(other);
        TfrmImageDisp w;
        QSize shown;
        QTimer::singleShot(0, [&] {
            shown = w.picture().size();
            for (const QString &c : commands.split(','))
                w.command(c)->trigger();
        });
        const QString got = w.ChoosePicture(given);
        QCOMPARE(shown, QSize(30, 20));
        QCOMPARE(got, result == "given" ? given : result == "loaded" ? other : QString());
    }

    void givenPathWithoutFileKeepsCallersPicture() {
        TestDb db;
        QVERIFY(db.ok());
        TfrmImageDisp w;
        w.setPicture(pattern(12, 8));
        QSize shown;
        QTimer::singleShot(0, [&] {
            shown = w.picture().size();
            w.command(QStringLiteral("取消"))->trigger();
        });
        QCOMPARE(w.ChoosePicture("stored.jpg"), QStringLiteral("stored.jpg"));
        QCOMPARE(shown, QSize(12, 8));
        QCOMPARE(db.responder.texts(), QStringList());
    }
};

REGISTER_TEST(TestImageDisp)
#include "tst_imagedisp.moc"
