#pragma once
#include <QString>

class QWidget;

// Every message box, file dialog, folder picker and input box goes through this interface so
// that tests can install a scripted responder instead of real dialogs.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows text with the kind's icon (0 information, 1 question, 2 warning, 3 error).
    // Returns 1 when the user agrees (Yes/OK), 2 when the user declines.
    virtual int message(const QString &text, int kind, const QString &caption = QString()) = 0;
    // An open-file dialog; empty text when cancelled.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &dir,
                                 const QString &filter) = 0;
    // A save-file dialog; filterIndex (from 1) is the filter shown first and receives the one
    // chosen. Empty text when cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &fileName,
                                 const QString &filter, int *filterIndex) = 0;
    // A folder picker; empty text when cancelled.
    virtual QString existingDirectory(QWidget *parent, const QString &title, const QString &dir) = 0;
    // A one-line input box; false when cancelled.
    virtual bool inputText(QWidget *parent, const QString &title, const QString &label, QString *value) = 0;
};

// The prompter in force (real dialogs unless a test installed another).
Prompter &prompter();
// Installs p (not owned); nullptr restores the real dialogs.
void setPrompter(Prompter *p);
