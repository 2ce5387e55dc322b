#pragma once
#include <QDialog>

class QLabel;

// The about window ("关于我们"): the product title and version, and a few words about it.
class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *parent = nullptr);
    // The label showing AppTitle followed by AppVersion.
    QLabel *titleLabel() const { return m_title; }

private:
    QLabel *m_title;
};
