#include "prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

class DialogPrompter : public Prompter {
public:
    int message(const QString &text, int kind, const QString &caption) override {
        QMessageBox box(QApplication::activeWindow());
        box.setText(text);
        switch (kind) {
        case 1:
            box.setIcon(QMessageBox::Question);
            box.setWindowTitle(caption.isEmpty() ? QStringLiteral("询问") : caption);
            break;
        case 2:
            box.setIcon(QMessageBox::Warning);
            box.setWindowTitle(caption.isEmpty() ? QStringLiteral("警告") : caption);
            break;
        case 3:
            box.setIcon(QMessageBox::Critical);
            box.setWindowTitle(caption.isEmpty() ? QStringLiteral("错误") : caption);
            break;
        default:
            box.setIcon(QMessageBox::Information);
            box.setWindowTitle(caption.isEmpty() ? QStringLiteral("提示") : caption);
            break;
        }
        if (kind == 1) {
            QPushButton *yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
            QPushButton *no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
            box.setDefaultButton(yes);
            box.setEscapeButton(no);
            box.exec();
            return box.clickedButton() == yes ? 1 : 2;
        }
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        box.exec();
        return 1;
    }

    QString openFileName(QWidget *parent, const QString &title, const QString &dir,
                         const QString &filter) override {
        return QFileDialog::getOpenFileName(parent, title, dir, filter);
    }

    QString saveFileName(QWidget *parent, const QString &title, const QString &fileName,
                         const QString &filter, int *filterIndex) override {
        const QStringList filters = filter.split(QStringLiteral(";;"));
        QString selected;
        if (filterIndex && *filterIndex >= 1 && *filterIndex <= filters.size())
            selected = filters.at(*filterIndex - 1);
        const QString name = QFileDialog::getSaveFileName(parent, title, fileName, filter, &selected);
        if (filterIndex && !name.isEmpty())
            *filterIndex = filters.indexOf(selected) + 1;
        return name;
    }

    QString existingDirectory(QWidget *parent, const QString &title, const QString &dir) override {
        return QFileDialog::getExistingDirectory(parent, title, dir);
    }

    bool inputText(QWidget *parent, const QString &title, const QString &label, QString *value) override {
        bool ok = false;
        const QString v = QInputDialog::getText(parent, title, label, QLineEdit::Normal, *value, &ok);
        if (ok)
            *value = v;
        return ok;
    }
};

DialogPrompter g_dialogs;
Prompter *g_current = nullptr;

} // namespace

Prompter &prompter() { return g_current ? *g_current : g_dialogs; }

void setPrompter(Prompter *p) { g_current = p; }
