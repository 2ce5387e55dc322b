#pragma once
#include "core/prompter.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// A prompter for tests: records every message and answers questions and dialogs from queues.
class ScriptedResponder : public Prompter {
public:
    struct Message {
        QString text;
        int kind;
    };

    ScriptedResponder();  // installs itself
    ~ScriptedResponder() override; // restores the real dialogs

    QList<Message> messages;
    QQueue<int> answers;         // answers to questions (1 yes, 2 no); empty queue answers defaultAnswer
    int defaultAnswer = 1;
    QQueue<QString> fileNames;   // answers to file dialogs and folder pickers (empty text = cancel)
    QQueue<int> filterIndexes;   // filter chosen in save dialogs (0 keeps the offered one)
    QQueue<QString> inputs;      // answers to input boxes (a null string = cancel)
    QStringList dialogTitles;    // titles of the file dialogs shown

    int message(const QString &text, int kind, const QString &caption) override;
    QString openFileName(QWidget *, const QString &title, const QString &dir, const QString &filter) override;
    QString saveFileName(QWidget *, const QString &title, const QString &fileName, const QString &filter,
                         int *filterIndex) override;
    QString existingDirectory(QWidget *, const QString &title, const QString &dir) override;
    bool inputText(QWidget *, const QString &title, const QString &label, QString *value) override;

    QStringList texts() const;
    bool saw(const QString &text) const;
    void clear() { messages.clear(); }
};
