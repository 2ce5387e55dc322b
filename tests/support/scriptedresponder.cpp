#include "scriptedresponder.h"

ScriptedResponder::ScriptedResponder() { setPrompter(this); }

ScriptedResponder::~ScriptedResponder() { setPrompter(nullptr); }

int ScriptedResponder::message(const QString &text, int kind, const QString &) {
    messages.append({text, kind});
    if (kind != 1)
        return 1;
    return answers.isEmpty() ? defaultAnswer : answers.dequeue();
}

QString ScriptedResponder::openFileName(QWidget *, const QString &title, const QString &, const QString &) {
    dialogTitles << title;
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedResponder::saveFileName(QWidget *, const QString &title, const QString &, const QString &,
                                        int *filterIndex) {
    dialogTitles << title;
    if (filterIndex && !filterIndexes.isEmpty()) {
        const int i = filterIndexes.dequeue();
        if (i > 0)
            *filterIndex = i;
    }
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedResponder::existingDirectory(QWidget *, const QString &title, const QString &) {
    dialogTitles << title;
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

bool ScriptedResponder::inputText(QWidget *, const QString &title, const QString &, QString *value) {
    dialogTitles << title;
    if (inputs.isEmpty() || inputs.head().isNull()) {
        if (!inputs.isEmpty())
            inputs.dequeue();
        return false;
    }
    *value = inputs.dequeue();
    return true;
}

QStringList ScriptedResponder::texts() const {
    QStringList out;
    for (const Message &m : messages)
        out << m.text;
    return out;
}

bool ScriptedResponder::saw(const QString &text) const { return texts().contains(text); }
