#include "codelist.h"

#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"
#include "core/transaction.h"

#include <QSqlQuery>

QString CodeKind::plainName() const {
    QString s = caption;
    return s.remove(QLatin1Char(' '));
}

const QList<CodeKind> &codeKinds() {
    static const QList<CodeKind> kinds = [] {
        const char *const table[][2] = {
            {" 职    务 ", "tduty"},     {" 民    族 ", "tminzu"},     {" 政治面貌 ", "tzzmianmao"},
            {" 学历类别 ", "txueliLB"},  {" 学    历 ", "txueli"},     {" 技术职称 ", "tjishuZC"},
            {" 录用来源 ", "tlaiyuan"},  {" 聘用形式 ", "tpyxingshi"}, {" 行    业 ", "thangye"},
            {" 公司性质 ", "tgstype"},   {" 培训项目 ", "tkecheng"},   {" 资格证书 ", "tzhengshu"},
            {" 合同类型 ", "thttype"},   {" 合同状态 ", "thtstatus"},  {" 批准人员 ", "tpzemp"},
            {" 奖惩项目 ", "tqcitem"},   {" 奖惩类型 ", "tqctype"},    {" 考评类型 ", "tkhtype"},
            {" 考核期限 ", "tkhqixian"}, {" 考核等级 ", "tkhdj"},      {" 考评人员 ", "tpjemp"},
            {" 考核时间 ", "tkhtime"},   {" 应扣类型 ", "tzctype"},    {" 应发类型 ", "tsrtype"},
            {" 部    门 ", "tdept"},
        };
        QList<CodeKind> out;
        for (const auto &k : table) {
            const QString tab = QString::fromUtf8(k[1]);
            // the kind key is the tab's name without its first letter
            out.append(CodeKind{QString::fromUtf8(k[0]), tab, tab.mid(1)});
        }
        return out;
    }();
    return kinds;
}

bool CodeList::load(const QString &kind) {
    m_kind = kind;
    m_stored.clear();
    discard();
    QSqlQuery q;
    if (!TdmData::OpenSql(QStringLiteral("select F_ID, F_Name from t_code where F_type = ? order by F_ID"), q,
                          {kind}))
        return false;
    while (q.next())
        m_stored.append(CodeEntry{q.value(0).toLongLong(), q.value(1).toString()});
    return true;
}

QList<CodeEntry> CodeList::rows() const {
    QList<CodeEntry> out;
    out.reserve(m_stored.size() + m_added.size());
    for (const CodeEntry &e : m_stored)
        out.append(CodeEntry{e.id, m_renamed.value(e.id, e.name)});
    out.append(m_added);
    return out;
}

CodeEntry CodeList::row(qint64 id) const {
    for (const CodeEntry &e : rows())
        if (e.id == id)
            return e;
    return CodeEntry{};
}

qint64 CodeList::append(const QString &name) {
    m_added.append(CodeEntry{--m_lastNewId, name});
    return m_lastNewId;
}

bool CodeList::setName(qint64 id, const QString &name) {
    for (CodeEntry &e : m_added)
        if (e.id == id) {
            e.name = name;
            return true;
        }
    for (const CodeEntry &e : m_stored)
        if (e.id == id) {
            if (name == e.name)
                m_renamed.remove(id); // back to what is stored
            else
                m_renamed.insert(id, name);
            return true;
        }
    return false;
}

bool CodeList::hasPendingChanges() const {
    return !m_renamed.isEmpty() || !m_added.isEmpty();
}

void CodeList::discard() {
    m_renamed.clear();
    m_added.clear();
}

QString CodeList::kindName() const {
    for (const CodeKind &k : codeKinds())
        if (k.key.compare(m_kind, Qt::CaseInsensitive) == 0)
            return k.plainName();
    return QString();
}

bool CodeList::check(qint64 *badId) const {
    // the rows that will be stored: an added row left empty is not one of them
    QList<CodeEntry> kept;
    QList<qint64> pending;
    for (const CodeEntry &e : m_stored) {
        kept.append(CodeEntry{e.id, m_renamed.value(e.id, e.name)});
        if (m_renamed.contains(e.id))
            pending << e.id;
    }
    for (const CodeEntry &e : m_added)
        if (!e.name.isEmpty()) {
            kept.append(e);
            pending << e.id;
        }
    for (const CodeEntry &e : std::as_const(kept)) {
        if (!pending.contains(e.id))
            continue;
        const QString name = e.name.trimmed();
        QString message;
        if (name.isEmpty())
            message = QStringLiteral("%1名称不能为空！").arg(kindName());
        for (const CodeEntry &other : std::as_const(kept))
            if (message.isEmpty() && other.id != e.id &&
                other.name.trimmed().compare(name, Qt::CaseInsensitive) == 0)
                message = QStringLiteral("%1名称“%2”已经存在，不能重复！").arg(kindName(), name);
        if (!message.isEmpty()) {
            if (badId)
                *badId = e.id;
            ShowMess(message, 0);
            return false;
        }
    }
    return true;
}

bool CodeList::save(qint64 *badId) {
    if (!check(badId))
        return false;
    if (!hasPendingChanges())
        return true;
    bool ok = false;
    {
        Transaction t(Database::db());
        ok = t.active();
        for (const CodeEntry &e : std::as_const(m_stored))
            if (ok && m_renamed.contains(e.id))
                ok = TdmData::ExecSqlQuiet(QStringLiteral("update t_code set F_Name = ? where F_ID = ?"),
                                           {m_renamed.value(e.id), e.id});
        for (const CodeEntry &e : std::as_const(m_added))
            if (ok && !e.name.isEmpty())
                ok = TdmData::ExecSqlQuiet(
                    QStringLiteral("insert into t_code (F_type, F_Name) values (?, ?)"), {m_kind, e.name});
        ok = ok && t.commit();
    }
    if (!ok) {
        ShowMess(QStringLiteral("保存失败，请检测数据库连接！"), 3);
        return false;
    }
    reload();
    return true;
}

bool CodeList::remove(qint64 id) {
    for (int i = 0; i < m_added.size(); ++i)
        if (m_added.at(i).id == id) {
            m_added.removeAt(i);
            return true;
        }
    if (!TdmData::DeleteById(QStringLiteral("t_code"), id))
        return false;
    for (int i = 0; i < m_stored.size(); ++i)
        if (m_stored.at(i).id == id) {
            m_stored.removeAt(i);
            break;
        }
    m_renamed.remove(id);
    return true;
}
