#pragma once
#include "startup.h"

#include <QLabel>
#include <QWidget>

// The borderless start-up window with one progress line.
class TfrmSplash : public QWidget, public SplashSink {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);
    void setText(const QString &text) override;
    void showSplash() override;
    void hideSplash() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *Label1;
};
