#pragma once
#include <QString>

class QWidget;

// Shows a modal message (kinds 0 information, 1 question, 2 warning, 3 error).
// For kind 1 the result is 1 when the user agrees and 2 when the user declines.
int ShowMess(const QString &text, int kind);

// Places and sizes a window before it is first shown: kind 1 dialogs and editors (centred at
// their own size), kind 2 list, statistics and main windows (large, centred on the screen).
void DispFormPos(QWidget *form, int kind);

// Centres a dialog on the window that owns it (placed as kind 1 when it has no visible owner).
void CentreOnOwner(QWidget *form);

// Checks and compacts the closed database file in place. False (and the file untouched) when
// the file fails the integrity check or cannot be compacted; *error says why.
bool CompactDatabase(const QString &fileName, QString *error = nullptr);

// The stored form of a password: a salted PBKDF2-SHA256 hash. The empty password is stored
// as empty text.
QString SavePass(const QString &plain);
// True when typed matches the stored form (both compared after trimming the typed text).
bool CheckPass(const QString &stored, const QString &typed);
