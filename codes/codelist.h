#pragma once
#include <QHash>
#include <QList>
#include <QString>

// One kind of names edited in the options window: its tab caption (one space on each side), the
// tab's component name and the kind key stored in t_code.F_type.
struct CodeKind {
    QString caption;
    QString tabName;
    QString key;

    // The caption without its spaces ("部门" for " 部    门 "), for messages.
    QString plainName() const;
};

// The 25 kinds of the options window, in tab order.
const QList<CodeKind> &codeKinds();

// One row of a code list; a row not stored yet has a negative id.
struct CodeEntry {
    qint64 id = 0;
    QString name;
};

// The names of one kind of t_code with the changes made to them that are not stored yet.
// Additions and renames are kept in memory until save() writes them all in one transaction;
// discard() forgets them. Deleting is stored at once.
class CodeList {
public:
    // Reads the stored names of kind in entry order, forgetting any pending change. On failure:
    // "打开操作失败，请检查数据连接... ", an empty list and false.
    bool load(const QString &kind);
    // Reads the current kind again (pending changes are forgotten).
    bool reload() { return load(m_kind); }
    QString kind() const { return m_kind; }

    // The stored rows with their pending names, followed by the pending additions.
    QList<CodeEntry> rows() const;
    // The row with id; a row with id 0 and an empty name when there is none.
    CodeEntry row(qint64 id) const;
    bool isEmpty() const { return m_stored.isEmpty() && m_added.isEmpty(); }

    // Adds a pending row with name; returns its (negative) id.
    qint64 append(const QString &name = QString());
    // Gives the row with id a pending new name; false when there is no such row.
    bool setName(qint64 id, const QString &name);
    // True when an addition or a rename waits for save().
    bool hasPendingChanges() const;
    // Forgets every pending change.
    void discard();

    // Checks the pending rows and writes them in one transaction, then reads the list again.
    // An added row left empty is not stored. A pending name that is blank, or that another row of
    // the kind already has (compared trimmed and without regard to case), is refused with a
    // message, *badId receiving its row, and nothing is written. A database failure rolls back
    // everything: "保存失败，请检测数据库连接！" (kind 3). Pending changes stay after a failure.
    bool save(qint64 *badId = nullptr);

    // Deletes the stored row with id at once (a pending addition is only dropped). False after
    // the message "删除操作失败，请检查数据连接... " when the database refuses.
    bool remove(qint64 id);

private:
    bool check(qint64 *badId) const;
    QString kindName() const;

    QString m_kind;
    QList<CodeEntry> m_stored;        // as read, in entry order
    QHash<qint64, QString> m_renamed; // stored id -> pending name
    QList<CodeEntry> m_added;         // pending additions, ids -1, -2, ...
    qint64 m_lastNewId = 0;
};
