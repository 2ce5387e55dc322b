#include "ufrmsplash.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TfrmSplash::TfrmSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(470, 294);
    Label1 = new QLabel(QStringLiteral("系统正在启动，请稍候 ....."), this);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(14);
    Label1->setFont(f);
    Label1->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    Label1->setGeometry(16, 262, 440, 20);
    if (QScreen *s = QGuiApplication::primaryScreen()) {
        const QRect r = s->availableGeometry();
        move(r.center() - rect().center());
    }
}

void TfrmSplash::setText(const QString &text) {
    Label1->setText(text);
    Label1->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmSplash::showSplash() {
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmSplash::hideSplash() { hide(); }

void TfrmSplash::paintEvent(QPaintEvent *) {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0, 128, 128));
    g.setColorAt(1, QColor(224, 240, 240));
    p.fillRect(rect(), g);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(26);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 70, width(), 40), Qt::AlignCenter, QStringLiteral("澜禾人事工资管理软件"));
    f.setPixelSize(16);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 115, width(), 30), Qt::AlignCenter, QStringLiteral("企业版 v2.42"));
}
