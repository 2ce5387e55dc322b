#include "keltrin.h"

#include "prompter.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QWidget>

int ShowMess(const QString &text, int kind) {
    return prompter().message(text, kind);
}

void DispFormPos(QWidget *form, int kind) {
    if (!form)
        return;
    QScreen *screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    QSize size = form->size();
    if (kind == 2) {
        // list windows take most of the screen, never less than their own minimum
        size = QSize(qMax(form->minimumWidth(), avail.width() * 9 / 10),
                     qMax(form->minimumHeight(), avail.height() * 9 / 10));
        form->resize(size.boundedTo(avail.size()));
        size = form->size();
    } else {
        size = size.boundedTo(avail.size());
        form->resize(size);
    }
    form->move(avail.x() + (avail.width() - size.width()) / 2,
               avail.y() + (avail.height() - size.height()) / 2);
}

void CentreOnOwner(QWidget *form) {
    QWidget *owner = form->parentWidget() ? form->parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible()) {
        DispFormPos(form, 1);
        return;
    }
    const QRect frame = owner->frameGeometry();
    form->move(frame.center() - QPoint(form->width() / 2, form->height() / 2));
}

bool CompactDatabase(const QString &fileName, QString *error) {
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!QFileInfo::exists(fileName))
        return fail(QStringLiteral("数据库文件不存在：%1").arg(fileName));
    const QString name = QStringLiteral("compact-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    QString why;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(fileName);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            why = db.lastError().text();
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next()) {
                why = q.lastError().text();
            } else if (q.value(0).toString() != QLatin1String("ok")) {
                why = QStringLiteral("数据库文件已损坏：%1").arg(q.value(0).toString());
            } else {
                q.finish();
                if (!q.exec(QStringLiteral("VACUUM")))
                    why = q.lastError().text();
                else
                    ok = true;
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok ? true : fail(why);
}

namespace {
constexpr int kIterations = 60000;
constexpr char kScheme[] = "pbkdf2-sha256";
} // namespace

QString SavePass(const QString &plain) {
    const QString p = plain.trimmed();
    if (p.isEmpty())
        return QString();
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), salt.size() / 4);
    const QByteArray key =
        QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, p.toUtf8(), salt, kIterations, 32);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(QLatin1String(kScheme))
        .arg(kIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(key.toBase64()));
}

bool CheckPass(const QString &stored, const QString &typed) {
    const QString p = typed.trimmed();
    if (stored.isEmpty())
        return p.isEmpty();
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != QLatin1String(kScheme))
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations <= 0)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray expect = QByteArray::fromBase64(parts[3].toLatin1());
    const QByteArray key = QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, p.toUtf8(), salt,
                                                              iterations, expect.size());
    // compare without an early exit
    if (key.size() != expect.size())
        return false;
    int diff = 0;
    for (int i = 0; i < key.size(); ++i)
        diff |= key[i] ^ expect[i];
    return diff == 0;
}
