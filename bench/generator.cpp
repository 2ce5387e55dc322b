#include "generator.h"

#include "core/database.h"
#include "core/pubunit.h"
#include "core/transaction.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <vector>

namespace {

const QString kEmptyDate = QStringLiteral("1900-08-14");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// Text columns hold '' rather than no value; a null QString would be bound as NULL.
QString text(const QString &s) {
    return s.isNull() ? QStringLiteral("") : s;
}

// Draws from one seeded engine with fixed arithmetic (no library distributions), so one seed gives
// one company whatever standard library the program is built with.
class Dice {
public:
    explicit Dice(quint32 seed) : m_engine(seed) {}
    // A whole number from lo to hi, both included.
    int between(int lo, int hi) {
        const quint64 span = quint64(qint64(hi) - qint64(lo) + 1);
        return int(qint64(lo) + qint64((quint64(quint32(m_engine())) * span) >> 32));
    }
    double unit() { return quint32(m_engine()) / 4294967296.0; }
    bool chance(double p) { return unit() < p; }
    const QString &pick(const QStringList &list) { return list.at(between(0, int(list.size()) - 1)); }
    QDate dateBetween(const QDate &from, const QDate &to) {
        if (to <= from)
            return from;
        return from.addDays(between(0, int(from.daysTo(to))));
    }
    QString digits(int count) {
        QString s;
        s.reserve(count);
        for (int i = 0; i < count; ++i)
            s += QChar(u'0' + between(0, 9));
        return s;
    }

private:
    std::mt19937 m_engine;
};

// Inserts rows through one prepared statement, committing every rowsPerCommit rows.
class ChunkWriter {
public:
    ChunkWriter(QSqlDatabase db, int rowsPerCommit, qint64 *counter)
        : m_db(db), m_query(db), m_rowsPerCommit(rowsPerCommit), m_counter(counter) {}

    bool prepare(const QString &sql, QString *error) {
        if (!m_query.prepare(sql))
            return fail(error, m_query.lastError().text());
        m_tx.emplace(m_db);
        if (!m_tx->active())
            return fail(error, m_db.lastError().text());
        return true;
    }
    QSqlQuery &query() { return m_query; }
    // Runs the statement with the values bound since the last row.
    bool row(QString *error) {
        if (!m_query.exec())
            return fail(error, m_query.lastError().text());
        ++*m_counter;
        if (++m_pending >= m_rowsPerCommit) {
            if (!m_tx->commit())
                return fail(error, m_db.lastError().text());
            m_pending = 0;
            m_tx.emplace(m_db);
            if (!m_tx->active())
                return fail(error, m_db.lastError().text());
        }
        return true;
    }
    bool finish(QString *error) {
        m_query.finish();
        if (m_tx && !m_tx->commit())
            return fail(error, m_db.lastError().text());
        m_tx.reset();
        return true;
    }

private:
    static bool fail(QString *error, const QString &text) {
        if (error)
            *error = text;
        return false;
    }
    QSqlDatabase m_db;
    QSqlQuery m_query;
    std::optional<Transaction> m_tx;
    int m_rowsPerCommit;
    int m_pending = 0;
    qint64 *m_counter;
};

struct Dept {
    QString name;
    int treeId = 0;
};

struct Employee {
    QString code;
    QString name;
    QString dept;
    int deptIndex = 0;
    QDate begin;
    QDate left; // invalid while in service
};

struct Process {
    int id = 0;
    QString gxCode, name, goodName, type, guige, unit;
    double price = 0;
};

struct WorkType {
    QString name, unit;
    double price = 0;
};

struct WageItem {
    QString code, name;
};

struct ProductModel {
    const char16_t *name;
    const char16_t *type;
    const char16_t *unit;
    const char16_t *guige;
    QStringList steps;
};

const std::vector<ProductModel> &productModels() {
    static const std::vector<ProductModel> list = {
        {u"男式衬衫",
         u"服装",
         u"件",
         u"M-XL",
         {QStringLiteral("裁剪"), QStringLiteral("缝领"), QStringLiteral("上袖"), QStringLiteral("锁边"),
          QStringLiteral("钉扣"), QStringLiteral("整烫"), QStringLiteral("质检"), QStringLiteral("包装")}},
        {u"女式连衣裙",
         u"服装",
         u"件",
         u"S-L",
         {QStringLiteral("裁剪"), QStringLiteral("拼缝"), QStringLiteral("上拉链"), QStringLiteral("锁边"),
          QStringLiteral("整烫"), QStringLiteral("质检"), QStringLiteral("包装")}},
        {u"休闲裤",
         u"服装",
         u"条",
         u"28-36",
         {QStringLiteral("裁剪"), QStringLiteral("拼缝"), QStringLiteral("上腰"), QStringLiteral("锁边"),
          QStringLiteral("钉扣"), QStringLiteral("整烫"), QStringLiteral("包装")}},
        {u"运动鞋",
         u"鞋类",
         u"双",
         u"38-44",
         {QStringLiteral("下料"), QStringLiteral("针车"), QStringLiteral("成型"), QStringLiteral("上胶"),
          QStringLiteral("贴底"), QStringLiteral("质检"), QStringLiteral("包装")}},
        {u"皮鞋",
         u"鞋类",
         u"双",
         u"38-44",
         {QStringLiteral("下料"), QStringLiteral("片皮"), QStringLiteral("针车"), QStringLiteral("绷楦"),
          QStringLiteral("贴底"), QStringLiteral("包装")}},
        {u"双肩包",
         u"箱包",
         u"个",
         u"标准",
         {QStringLiteral("裁片"), QStringLiteral("车缝"), QStringLiteral("上拉链"), QStringLiteral("装配"),
          QStringLiteral("质检"), QStringLiteral("包装")}},
        {u"拉杆箱",
         u"箱包",
         u"个",
         u"20寸",
         {QStringLiteral("开料"), QStringLiteral("压模"), QStringLiteral("装轮"), QStringLiteral("装拉杆"),
          QStringLiteral("内衬"), QStringLiteral("包装")}},
        {u"电源适配器",
         u"电子",
         u"只",
         u"12V2A",
         {QStringLiteral("插件"), QStringLiteral("焊接"), QStringLiteral("组装"), QStringLiteral("老化测试"),
          QStringLiteral("质检"), QStringLiteral("包装")}},
        {u"LED台灯",
         u"电子",
         u"台",
         u"5W",
         {QStringLiteral("贴片"), QStringLiteral("焊接"), QStringLiteral("装灯罩"), QStringLiteral("组装"),
          QStringLiteral("测试"), QStringLiteral("包装")}},
        {u"蓝牙耳机",
         u"电子",
         u"副",
         u"标准",
         {QStringLiteral("贴片"), QStringLiteral("焊接"), QStringLiteral("装壳"), QStringLiteral("测试"),
          QStringLiteral("包装")}},
    };
    return list;
}

QString chineseNumber(int n) {
    static const QString d = QStringLiteral("零一二三四五六七八九");
    if (n < 10)
        return d.mid(n, 1);
    if (n < 20)
        return QStringLiteral("十") + (n % 10 ? d.mid(n % 10, 1) : QString());
    return d.mid(n / 10, 1) + QStringLiteral("十") + (n % 10 ? d.mid(n % 10, 1) : QString());
}

// The check character of an 18-character identity card number.
QChar idCheckChar(const QString &first17) {
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static const char checks[] = "10X98765432";
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += first17.at(i).digitValue() * weights[i];
    return QLatin1Char(checks[sum % 11]);
}

class Generator {
public:
    Generator(const GenOptions &options, GenStats &stats)
        : m_opt(options), m_stats(stats), m_dice(options.seed), m_start(options.start),
          m_end(options.start.addMonths(options.months)) {}

    bool run(QString *error);

private:
    bool fail(QString *error, const QString &text) {
        if (error)
            *error = text;
        return false;
    }
    void tell(const QString &text) {
        if (m_opt.progress)
            m_opt.progress(text);
    }
    ChunkWriter writer() { return ChunkWriter(m_db, m_opt.rowsPerCommit, &m_stats.rowsWritten); }
    QStringList codeNames(const QString &kind);
    bool lastIds(QString *error);
    void undo();

    bool loadEmployees(QString *error);
    bool buildDepartments(QString *error);
    bool buildEmployees(QString *error);
    bool loadOrBuildProcesses(QString *error);
    bool loadOrBuildWorkTypes(QString *error);
    bool loadWageItems(QString *error);
    bool writePieceRecords(QString *error);
    bool writeTimeRecords(QString *error);
    bool writeEnterOut(QString *error);

    // The production order number of each department on date: prefix, date, department number.
    std::vector<QString> orderNumbers(const QString &prefix, const QDate &date) const {
        const QString head = prefix + date.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('-');
        std::vector<QString> out;
        for (size_t d = 0; d < m_depts.size(); ++d)
            out.push_back(head + QStringLiteral("%1").arg(d + 1, 3, 10, QLatin1Char('0')));
        return out;
    }
    // First and last (exclusive) day index of the period on which the employee works.
    std::pair<int, int> workSpan(const Employee &e) const {
        const int days = int(m_start.daysTo(m_end));
        const int first = std::max(0, int(m_start.daysTo(e.begin)));
        int last = e.left.isValid() ? int(m_start.daysTo(e.left)) : days;
        last = std::min(days, last);
        return {first, last};
    }

    const GenOptions &m_opt;
    GenStats &m_stats;
    Dice m_dice;
    QDate m_start, m_end; // the period: m_start <= day < m_end
    QSqlDatabase m_db;
    std::map<QString, qint64> m_lastIds; // table -> greatest F_ID before this run

    std::vector<Dept> m_depts; // workshop teams first, offices from m_officeStart on
    int m_officeStart = 0;
    std::vector<Employee> m_employees;
    std::vector<Process> m_processes;
    std::vector<WorkType> m_workTypes;
    std::vector<WageItem> m_deductionItems, m_allowanceItems;
};

const QStringList &touchedTables() {
    static const QStringList list = {QStringLiteral("t_treecode"),        QStringLiteral("t_code"),
                                     QStringLiteral("t_employee"),        QStringLiteral("wg_WorkingProduct"),
                                     QStringLiteral("T_GZtype"),          QStringLiteral("wg_ShengChanRec"),
                                     QStringLiteral("wg_ShengChanJSrec"), QStringLiteral("wg_EnterOut")};
    return list;
}

bool Generator::lastIds(QString *error) {
    QSqlQuery q(m_db);
    for (const QString &table : touchedTables()) {
        // table names are fixed identifiers of ours, never values
        if (!q.exec(QStringLiteral("select coalesce(max(F_ID), 0) from ") + table) || !q.next())
            return fail(error, q.lastError().text());
        m_lastIds[table] = q.value(0).toLongLong();
    }
    return true;
}

void Generator::undo() {
    QSqlQuery q(m_db);
    Transaction t(m_db);
    for (const auto &[table, id] : m_lastIds) {
        q.prepare(QStringLiteral("delete from ") + table + QStringLiteral(" where F_ID > ?"));
        q.addBindValue(id);
        q.exec();
    }
    t.commit();
}

QStringList Generator::codeNames(const QString &kind) {
    QStringList out;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("select F_Name from t_code where F_type = ? and F_Name <> '' order by F_ID"));
    q.addBindValue(kind);
    if (q.exec())
        while (q.next())
            out << q.value(0).toString();
    return out;
}

bool Generator::run(QString *error) {
    const bool existed = QFileInfo::exists(m_opt.dbPath);
    const Database::OpenStatus st = Database::open(m_opt.dbPath, true);
    if (!st.ok())
        return fail(error, st.message);
    m_db = Database::db();
    auto removeNewFile = [&] {
        m_db = QSqlDatabase();
        Database::close();
        QFile::remove(m_opt.dbPath);
    };
    if (!lastIds(error)) {
        if (!existed)
            removeNewFile();
        return false;
    }
    // A large page cache keeps the record indexes in memory; a file made by this run need not reach
    // the disk before each chunk's commit returns (a file that was there keeps its safety). Both
    // settings are put back at the end.
    QVariant cacheSize, synchronous;
    {
        QSqlQuery pragma(m_db);
        if (pragma.exec(QStringLiteral("PRAGMA cache_size")) && pragma.next())
            cacheSize = pragma.value(0);
        if (pragma.exec(QStringLiteral("PRAGMA synchronous")) && pragma.next())
            synchronous = pragma.value(0);
        pragma.finish();
        pragma.exec(QStringLiteral("PRAGMA cache_size = -131072"));
        if (!existed)
            pragma.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    }
    auto restorePragmas = [&] {
        QSqlQuery r(m_db);
        if (cacheSize.isValid())
            r.exec(QStringLiteral("PRAGMA cache_size = %1").arg(cacheSize.toLongLong()));
        if (synchronous.isValid())
            r.exec(QStringLiteral("PRAGMA synchronous = %1").arg(synchronous.toInt()));
    };
    auto steps = [&]() {
        if (!loadEmployees(error))
            return false;
        if (m_employees.empty() && (!buildDepartments(error) || !buildEmployees(error)))
            return false;
        return loadOrBuildProcesses(error) && loadOrBuildWorkTypes(error) && loadWageItems(error) &&
               writePieceRecords(error) && writeTimeRecords(error) && writeEnterOut(error);
    };
    const bool ok = steps();
    restorePragmas();
    if (ok)
        return true;
    if (existed)
        undo();
    else
        removeNewFile();
    return false;
}

bool Generator::loadEmployees(QString *error) {
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(
            QStringLiteral("select F_code, F_name, F_dept, F_beginDate, F_useFlag, F_LZdate from t_employee "
                           "where F_code <> '' order by F_ID")))
        return fail(error, q.lastError().text());
    QHash<QString, int> deptIndex;
    const QDate realDate(1901, 8, 14);
    while (q.next()) {
        Employee e;
        e.code = text(q.value(0).toString());
        e.name = text(q.value(1).toString());
        e.dept = text(q.value(2).toString());
        e.begin = QDate::fromString(q.value(3).toString().left(10), kDateFormat);
        if (!e.begin.isValid() || e.begin < realDate)
            e.begin = QDate(1900, 1, 1);
        if (q.value(4).toInt() != 0) {
            e.left = QDate::fromString(q.value(5).toString().left(10), kDateFormat);
            if (!e.left.isValid() || e.left < realDate)
                e.left = QDate(1900, 1, 1); // left at an unknown date: no work in the period
            ++m_stats.leavers;
        }
        auto it = deptIndex.find(e.dept);
        if (it == deptIndex.end()) {
            it = deptIndex.insert(e.dept, int(m_depts.size()));
            m_depts.push_back(Dept{e.dept, 0});
        }
        e.deptIndex = it.value();
        m_employees.push_back(e);
    }
    if (!m_employees.empty()) {
        m_stats.reusedCompany = true;
        m_stats.employees = int(m_employees.size());
        m_stats.departments = int(m_depts.size());
        tell(QStringLiteral("employees: %1 found in the file (%2 left), in %3 departments")
                 .arg(m_stats.employees)
                 .arg(m_stats.leavers)
                 .arg(m_stats.departments));
    }
    return true;
}

bool Generator::buildDepartments(QString *error) {
    // Top-level codes continue after the file's own department tree.
    QSqlQuery q(m_db);
    int base = 0;
    if (!q.exec(QStringLiteral("select F_code from t_treecode where F_flag = 'dept'")))
        return fail(error, q.lastError().text());
    while (q.next()) {
        const QString code = q.value(0).toString();
        if (code.size() >= 3)
            base = std::max(base, code.left(3).toInt());
    }
    q.finish();

    const QStringList workshops = {QStringLiteral("一车间"), QStringLiteral("二车间"),
                                   QStringLiteral("三车间"), QStringLiteral("包装车间")};
    const QStringList offices = {QStringLiteral("仓库"), QStringLiteral("办公室"), QStringLiteral("财务部")};
    const int teams = std::clamp((m_opt.employees * 9 / 10 / int(workshops.size()) + 149) / 150, 1, 30);
    if (base + workshops.size() + offices.size() > 999)
        return fail(error, QStringLiteral("the department tree has no free top-level code left"));

    QSet<QString> known;
    for (const QString &n : codeNames(QStringLiteral("dept")))
        known.insert(n);

    ChunkWriter tree = writer();
    if (!tree.prepare(QStringLiteral("insert into t_treecode (F_code, F_name, F_likecode, F_flag) "
                                     "values (?, ?, ?, 'dept')"),
                      error))
        return false;
    QStringList names;
    auto node = [&](const QString &code, const QString &name, const QString &path, bool leaf) {
        QSqlQuery &iq = tree.query();
        iq.bindValue(0, code);
        iq.bindValue(1, name);
        iq.bindValue(2, path);
        if (!tree.row(error))
            return false;
        ++m_stats.treeNodes;
        names << name;
        if (leaf)
            m_depts.push_back(Dept{name, iq.lastInsertId().toInt()});
        return true;
    };
    const QString top = QStringLiteral("\\\\");
    int n = base;
    for (const QString &w : workshops) {
        const QString code = QStringLiteral("%1").arg(++n, 3, 10, QLatin1Char('0'));
        if (!node(code, w, top + w, false))
            return false;
        for (int t = 1; t <= teams; ++t) {
            const QString team = w + chineseNumber(t) + QStringLiteral("组");
            if (!node(code + QStringLiteral("%1").arg(t, 3, 10, QLatin1Char('0')), team,
                      top + w + QLatin1Char('\\') + team, true))
                return false;
        }
    }
    const int firstOffice = int(m_depts.size());
    for (const QString &o : offices)
        if (!node(QStringLiteral("%1").arg(++n, 3, 10, QLatin1Char('0')), o, top + o, true))
            return false;
    if (!tree.finish(error))
        return false;
    m_officeStart = firstOffice;

    ChunkWriter dict = writer();
    if (!dict.prepare(QStringLiteral("insert into t_code (F_type, F_Name) values ('dept', ?)"), error))
        return false;
    for (const QString &name : names) {
        if (known.contains(name))
            continue;
        known.insert(name);
        dict.query().bindValue(0, name);
        if (!dict.row(error))
            return false;
    }
    if (!dict.finish(error))
        return false;
    tell(QStringLiteral("departments: %1 tree nodes, %2 departments for employees")
             .arg(m_stats.treeNodes)
             .arg(m_depts.size()));
    return true;
}

struct Region {
    const char *area;
    const char16_t *nativePlace;
    const char16_t *city;
};

const Region kRegions[] = {
    {"110105", u"北京市", u"北京市朝阳区"},       {"310115", u"上海市", u"上海市浦东新区"},
    {"440305", u"广东省深圳市", u"深圳市南山区"}, {"440106", u"广东省广州市", u"广州市天河区"},
    {"510107", u"四川省成都市", u"成都市武侯区"}, {"420111", u"湖北省武汉市", u"武汉市洪山区"},
    {"430104", u"湖南省长沙市", u"长沙市岳麓区"}, {"360102", u"江西省南昌市", u"南昌市东湖区"},
    {"410105", u"河南省郑州市", u"郑州市金水区"}, {"450103", u"广西壮族自治区南宁市", u"南宁市青秀区"},
    {"520102", u"贵州省贵阳市", u"贵阳市南明区"}, {"500103", u"重庆市", u"重庆市渝中区"},
    {"340104", u"安徽省合肥市", u"合肥市蜀山区"}, {"350203", u"福建省厦门市", u"厦门市思明区"},
};

bool Generator::buildEmployees(QString *error) {
    static const QString surnames = QStringLiteral(
        "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程"
        "苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝"
        "龚邵万钱严覃武戴莫孔向汤");
    static const QString maleGiven =
        QStringLiteral("伟强磊军洋勇杰涛明超平刚华建文辉力成志林峰斌宇浩凯鹏飞鑫波宁龙俊彬博轩海亮云东国");
    static const QString femaleGiven =
        QStringLiteral("芳娜秀英敏静丽艳娟兰霞桂玉萍红琳晨欣怡佳颖婷雪梅春燕丹玲晶琴慧倩月莉");
    static const QStringList minzu = {QStringLiteral("回族"),   QStringLiteral("满族"),
                                      QStringLiteral("壮族"),   QStringLiteral("苗族"),
                                      QStringLiteral("土家族"), QStringLiteral("彝族")};
    static const QStringList xueli = {QStringLiteral("小学"), QStringLiteral("初中"), QStringLiteral("初中"),
                                      QStringLiteral("初中"), QStringLiteral("高中"), QStringLiteral("高中"),
                                      QStringLiteral("中专"), QStringLiteral("中专"), QStringLiteral("大专"),
                                      QStringLiteral("本科")};
    static const QStringList laiyuan = {QStringLiteral("社会招聘"), QStringLiteral("校园招聘"),
                                        QStringLiteral("员工介绍"), QStringLiteral("职业介绍所"),
                                        QStringLiteral("网络招聘")};
    static const QStringList pyxingshi = {QStringLiteral("正式工"), QStringLiteral("正式工"),
                                          QStringLiteral("合同工"), QStringLiteral("合同工"),
                                          QStringLiteral("临时工"), QStringLiteral("试用工")};
    static const QStringList streets = {QStringLiteral("人民路"), QStringLiteral("建设路"),
                                        QStringLiteral("解放路"), QStringLiteral("中山路"),
                                        QStringLiteral("和平路"), QStringLiteral("新华路")};
    const int regionCount = int(sizeof(kRegions) / sizeof(kRegions[0]));
    const int width = std::max(4, int(QString::number(m_opt.employees).size()));

    ChunkWriter w = writer();
    if (!w.prepare(
            QStringLiteral(
                "insert into t_employee (F_code, F_name, F_deptID, F_dept, F_sex, F_duty, F_IFhun, F_minzu, "
                "F_jiguan, F_birthDay, F_xueli, F_movePhone, F_address, F_SFZcode, F_beginDate, F_laiyuan, "
                "F_gongziCode, F_useFlag, F_ZZmianmao, F_PYxingshi, F_gongZI, F_LZtype, F_LZdate, F_LZmem, "
                "F_QDdate, F_HTqixian, F_endDate, F_CBflag, F_DAcode) "
                "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?)"),
            error))
        return false;

    QSet<QString> names;
    m_employees.reserve(size_t(m_opt.employees));
    for (int i = 1; i <= m_opt.employees; ++i) {
        Employee e;
        e.code = QStringLiteral("A%1").arg(i, width, 10, QLatin1Char('0'));
        const bool male = m_dice.chance(0.55);
        const QString &given = male ? maleGiven : femaleGiven;
        // names are unique, as the employee editor keeps them
        for (int attempt = 0;; ++attempt) {
            // each draw in its own statement, so the order of draws is fixed
            QString name = surnames.mid(m_dice.between(0, int(surnames.size()) - 1), 1);
            name += given.mid(m_dice.between(0, int(given.size()) - 1), 1);
            if (m_dice.chance(0.7))
                name += given.mid(m_dice.between(0, int(given.size()) - 1), 1);
            if (attempt >= 50)
                name += QString::number(i);
            if (!names.contains(name)) {
                names.insert(name);
                e.name = name;
                break;
            }
        }
        const bool office = m_dice.chance(0.1);
        e.deptIndex = office ? m_dice.between(m_officeStart, int(m_depts.size()) - 1)
                             : m_dice.between(0, m_officeStart - 1);
        const Dept &dept = m_depts[size_t(e.deptIndex)];
        e.dept = dept.name;

        const QDate birth = m_start.addDays(-m_dice.between(19 * 366, 55 * 365));
        if (m_dice.chance(0.97))
            e.begin =
                m_dice.dateBetween(std::max(birth.addYears(18), m_start.addYears(-10)), m_start.addDays(-1));
        else
            e.begin = m_dice.dateBetween(m_start, m_end.addDays(-1));
        QString lzType, lzMem;
        if (m_dice.chance(0.05)) {
            const QDate lo = std::max(e.begin.addDays(1), m_start.addDays(-365));
            e.left = m_dice.dateBetween(lo, std::max(lo, m_end.addDays(-1)));
            const double r = m_dice.unit();
            lzType = r < 0.7   ? QStringLiteral("辞职")
                     : r < 0.9 ? QStringLiteral("辞退")
                               : QStringLiteral("退休");
            lzMem = r < 0.7   ? QStringLiteral("个人原因")
                    : r < 0.9 ? QStringLiteral("严重违反厂规")
                              : QStringLiteral("到龄退休");
            ++m_stats.leavers;
        }

        QString duty;
        int wage = 0;
        if (office) {
            const bool head = m_dice.chance(0.2);
            duty = head ? QStringLiteral("部门主管") : QStringLiteral("文员");
            wage = head ? m_dice.between(400, 600) : m_dice.between(250, 320);
        } else {
            const bool lead = m_dice.chance(0.08);
            duty = lead ? QStringLiteral("组长") : QStringLiteral("普工");
            wage = lead ? m_dice.between(280, 350) : m_dice.between(180, 260);
        }
        const int age = int(birth.daysTo(m_start) / 365);
        const bool married = m_dice.chance(age >= 25 ? 0.75 : 0.15);
        const Region &region = kRegions[m_dice.between(0, regionCount - 1)];
        QString id17 = QString::fromLatin1(region.area) + birth.toString(QStringLiteral("yyyyMMdd"));
        id17 += m_dice.digits(2);
        id17 += QChar(u'0' + (m_dice.between(0, 4) * 2 + (male ? 1 : 0)));
        const QString idCard = id17 + idCheckChar(id17);
        QString address;
        if (m_dice.chance(0.6)) {
            address = QStringLiteral("厂区宿舍%1栋").arg(m_dice.between(1, 12));
            address += QStringLiteral("%1室").arg(m_dice.between(101, 612));
        } else {
            address = QString::fromUtf16(region.city) + m_dice.pick(streets);
            address += QStringLiteral("%1号").arg(m_dice.between(1, 300));
        }
        QString phone = QStringLiteral("1") + QChar(u"35789"[m_dice.between(0, 4)]);
        phone += m_dice.digits(9);
        const QString card = QStringLiteral("622202") + m_dice.digits(13);
        const bool contract = m_dice.chance(0.9);
        QDate contractEnd = e.begin.addYears(3);
        while (contractEnd < m_start)
            contractEnd = contractEnd.addYears(3);

        QSqlQuery &q = w.query();
        int c = 0;
        q.bindValue(c++, e.code);
        q.bindValue(c++, e.name);
        q.bindValue(c++, dept.treeId);
        q.bindValue(c++, e.dept);
        q.bindValue(c++, male ? QStringLiteral("男") : QStringLiteral("女"));
        q.bindValue(c++, duty);
        q.bindValue(c++, married ? QStringLiteral("是") : QStringLiteral("否"));
        q.bindValue(c++, m_dice.chance(0.9) ? QStringLiteral("汉族") : m_dice.pick(minzu));
        q.bindValue(c++, QString::fromUtf16(region.nativePlace));
        q.bindValue(c++, birth.toString(kDateFormat));
        q.bindValue(c++, m_dice.pick(xueli));
        q.bindValue(c++, phone);
        q.bindValue(c++, address);
        q.bindValue(c++, idCard);
        q.bindValue(c++, e.begin.toString(kDateFormat));
        q.bindValue(c++, m_dice.pick(laiyuan));
        q.bindValue(c++, card);
        q.bindValue(c++, e.left.isValid() ? 1 : 0);
        const double party = m_dice.unit();
        q.bindValue(c++, party < 0.8    ? QStringLiteral("群众")
                         : party < 0.95 ? QStringLiteral("共青团员")
                                        : QStringLiteral("中共党员"));
        q.bindValue(c++, m_dice.pick(pyxingshi));
        q.bindValue(c++, RoundMoney(wage * 10.0));
        q.bindValue(c++, text(lzType));
        q.bindValue(c++, e.left.isValid() ? e.left.toString(kDateFormat) : kEmptyDate);
        q.bindValue(c++, text(lzMem));
        q.bindValue(c++, e.begin.toString(kDateFormat));
        q.bindValue(c++, contract ? QStringLiteral("有") : QStringLiteral("无"));
        q.bindValue(c++, contract ? contractEnd.toString(kDateFormat) : kEmptyDate);
        q.bindValue(c++, m_dice.chance(0.85) ? QStringLiteral("是") : QStringLiteral("否"));
        q.bindValue(c++, QStringLiteral("DA") + e.code.mid(1));
        if (!w.row(error))
            return false;
        m_employees.push_back(e);
    }
    if (!w.finish(error))
        return false;
    m_stats.employees = int(m_employees.size());
    QSet<int> used;
    for (const Employee &e : m_employees)
        used.insert(e.deptIndex);
    m_stats.departments = int(used.size());
    tell(QStringLiteral("employees: %1 (%2 left) in %3 departments")
             .arg(m_stats.employees)
             .arg(m_stats.leavers)
             .arg(m_stats.departments));
    return true;
}

bool Generator::loadOrBuildProcesses(QString *error) {
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select count(*) from wg_WorkingProduct")) || !q.next())
        return fail(error, q.lastError().text());
    const bool empty = q.value(0).toInt() == 0;
    q.finish();
    if (empty) {
        ChunkWriter w = writer();
        if (!w.prepare(
                QStringLiteral(
                    "insert into wg_WorkingProduct (F_Code, F_Name, F_GoodName, F_gxCode, F_spec, "
                    "F_type, F_unit, F_Price, F_Mem, F_UseFlag) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                error))
            return false;
        int productNo = 0;
        for (const ProductModel &m : productModels()) {
            ++productNo;
            for (int step = 0; step < m.steps.size(); ++step) {
                Process p;
                p.goodName = QString::fromUtf16(m.name);
                p.gxCode = QStringLiteral("%1%2")
                               .arg(productNo, 2, 10, QLatin1Char('0'))
                               .arg(step + 1, 2, 10, QLatin1Char('0'));
                p.name = m.steps.at(step);
                p.type = QString::fromUtf16(m.type);
                p.guige = QString::fromUtf16(m.guige);
                p.unit = QString::fromUtf16(m.unit);
                p.price = RoundMoney(m_dice.between(50, 2500) / 1000.0);
                const bool stopped = m_dice.chance(0.04);
                QSqlQuery &iq = w.query();
                iq.bindValue(0, p.goodName + p.gxCode);
                iq.bindValue(1, p.name);
                iq.bindValue(2, p.goodName);
                iq.bindValue(3, p.gxCode);
                iq.bindValue(4, p.guige);
                iq.bindValue(5, p.type);
                iq.bindValue(6, p.unit);
                iq.bindValue(7, p.price);
                iq.bindValue(8, stopped ? QStringLiteral("已停用") : text(QString()));
                iq.bindValue(9, stopped ? 1 : 0);
                if (!w.row(error))
                    return false;
                p.id = iq.lastInsertId().toInt();
                ++m_stats.processes;
                if (!stopped)
                    m_processes.push_back(p);
            }
        }
        if (!w.finish(error))
            return false;
        m_stats.products = productNo;
    } else {
        if (!q.exec(
                QStringLiteral("select F_ID, F_gxCode, F_Name, F_GoodName, F_type, F_spec, F_unit, F_Price "
                               "from wg_WorkingProduct where F_UseFlag = 0 order by F_Code")))
            return fail(error, q.lastError().text());
        QSet<QString> goods;
        while (q.next()) {
            Process p;
            p.id = q.value(0).toInt();
            p.gxCode = text(q.value(1).toString());
            p.name = text(q.value(2).toString());
            p.goodName = text(q.value(3).toString());
            p.type = text(q.value(4).toString());
            p.guige = text(q.value(5).toString());
            p.unit = text(q.value(6).toString());
            p.price = q.value(7).toDouble();
            goods.insert(p.goodName);
            m_processes.push_back(p);
        }
        m_stats.processes = int(m_processes.size());
        m_stats.products = int(goods.size());
        if (m_processes.empty())
            return fail(error, QStringLiteral("wg_WorkingProduct holds no process in use"));
    }
    tell(QStringLiteral("products: %1 with %2 processes%3")
             .arg(m_stats.products)
             .arg(m_stats.processes)
             .arg(empty ? QString() : QStringLiteral(" found in the file")));
    return true;
}

bool Generator::loadOrBuildWorkTypes(QString *error) {
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(
            QStringLiteral("select F_name, F_unit, F_price from T_GZtype where F_name <> '' order by F_ID")))
        return fail(error, q.lastError().text());
    while (q.next())
        m_workTypes.push_back(
            WorkType{text(q.value(0).toString()), text(q.value(1).toString()), q.value(2).toDouble()});
    q.finish();
    const bool found = !m_workTypes.empty();
    if (!found) {
        const WorkType defaults[] = {{QStringLiteral("普工"), QStringLiteral("小时"), 15},
                                     {QStringLiteral("技工"), QStringLiteral("小时"), 22},
                                     {QStringLiteral("电工"), QStringLiteral("小时"), 25},
                                     {QStringLiteral("机修"), QStringLiteral("小时"), 28},
                                     {QStringLiteral("搬运工"), QStringLiteral("小时"), 18},
                                     {QStringLiteral("杂工"), QStringLiteral("小时"), 13.5},
                                     {QStringLiteral("质检员"), QStringLiteral("小时"), 20},
                                     {QStringLiteral("临时工"), QStringLiteral("天"), 120}};
        ChunkWriter w = writer();
        if (!w.prepare(
                QStringLiteral("insert into T_GZtype (F_code, F_name, F_price, F_unit) values (?, ?, ?, ?)"),
                error))
            return false;
        int n = 0;
        for (const WorkType &t : defaults) {
            QSqlQuery &iq = w.query();
            iq.bindValue(0, QStringLiteral("%1").arg(++n, 2, 10, QLatin1Char('0')));
            iq.bindValue(1, t.name);
            iq.bindValue(2, t.price);
            iq.bindValue(3, t.unit);
            if (!w.row(error))
                return false;
            m_workTypes.push_back(t);
        }
        if (!w.finish(error))
            return false;
    }
    m_stats.workTypes = int(m_workTypes.size());
    tell(QStringLiteral("work types: %1%2")
             .arg(m_stats.workTypes)
             .arg(found ? QStringLiteral(" found in the file") : QString()));
    return true;
}

bool Generator::loadWageItems(QString *error) {
    // The items the recalculation fills by itself never take allowances.
    static const QStringList computed = {QStringLiteral("f_gz200"), QStringLiteral("f_gz205"),
                                         QStringLiteral("f_gz206"), QStringLiteral("f_gz207"),
                                         QStringLiteral("f_gz208")};
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "select F_code, F_name, F_i from Sys_wgcols where F_tblName = 'sys' and F_flag = 1 "
            "and F_name <> '' and F_i in (2, 3) order by F_code")))
        return fail(error, q.lastError().text());
    while (q.next()) {
        const WageItem item{q.value(0).toString().toLower(), q.value(1).toString()};
        const int kind = q.value(2).toInt();
        if (kind == 3 && item.code >= QLatin1String("f_gz300") && item.code <= QLatin1String("f_gz319"))
            m_deductionItems.push_back(item);
        else if (kind == 2 && item.code >= QLatin1String("f_gz200") &&
                 item.code <= QLatin1String("f_gz219") && !computed.contains(item.code))
            m_allowanceItems.push_back(item);
    }
    return true;
}

bool Generator::writePieceRecords(QString *error) {
    if (m_opt.recordsPerDay <= 0 || m_processes.empty())
        return true;
    // Each department works mostly on one product; a fifth of the records go to any process.
    QHash<QString, int> productIndex;
    std::vector<std::vector<int>> byProduct;
    for (int i = 0; i < int(m_processes.size()); ++i) {
        const QString &g = m_processes[size_t(i)].goodName;
        auto it = productIndex.find(g);
        if (it == productIndex.end()) {
            it = productIndex.insert(g, int(byProduct.size()));
            byProduct.emplace_back();
        }
        byProduct[size_t(it.value())].push_back(i);
    }
    std::vector<int> deptProduct;
    for (size_t d = 0; d < m_depts.size(); ++d)
        deptProduct.push_back(m_dice.between(0, int(byProduct.size()) - 1));

    ChunkWriter w = writer();
    if (!w.prepare(
            QStringLiteral("insert into wg_ShengChanRec (F_DateTime, F_ShengChanCode, F_EmpCode, F_EmpName, "
                           "F_Dept, F_gxID, F_gxCode, F_Name, F_goodName, F_type, F_spec, F_unit, F_Amount, "
                           "F_Price, F_TotalPrice, F_EditDate) "
                           "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            error))
        return false;
    std::vector<std::pair<int, int>> spans;
    for (const Employee &e : m_employees)
        spans.push_back(workSpan(e));
    const int days = int(m_start.daysTo(m_end));
    for (int day = 0; day < days; ++day) {
        const QDate date = m_start.addDays(day);
        if (date.dayOfWeek() > 5)
            continue;
        const QString dateText = date.toString(kDateFormat);
        const std::vector<QString> orders = orderNumbers(QStringLiteral("SC"), date);
        for (size_t i = 0; i < m_employees.size(); ++i) {
            if (day < spans[i].first || day >= spans[i].second)
                continue;
            const Employee &e = m_employees[i];
            const std::vector<int> &own = byProduct[size_t(deptProduct[size_t(e.deptIndex)])];
            for (int r = 0; r < m_opt.recordsPerDay; ++r) {
                const Process &p =
                    m_dice.chance(0.8)
                        ? m_processes[size_t(own[size_t(m_dice.between(0, int(own.size()) - 1))])]
                        : m_processes[size_t(m_dice.between(0, int(m_processes.size()) - 1))];
                // about 80 to 200 yuan of work a day
                const double earn = m_dice.between(80, 200) / double(m_opt.recordsPerDay);
                const double amount = std::max(1.0, std::round(earn / std::max(p.price, 0.01)));
                QSqlQuery &q = w.query();
                q.bindValue(0, dateText);
                q.bindValue(1, orders[size_t(e.deptIndex)]);
                q.bindValue(2, e.code);
                q.bindValue(3, e.name);
                q.bindValue(4, e.dept);
                q.bindValue(5, p.id);
                q.bindValue(6, p.gxCode);
                q.bindValue(7, p.name);
                q.bindValue(8, p.goodName);
                q.bindValue(9, p.type);
                q.bindValue(10, p.guige);
                q.bindValue(11, p.unit);
                q.bindValue(12, amount);
                q.bindValue(13, p.price);
                q.bindValue(14, RoundMoney(amount * p.price));
                q.bindValue(15, dateText);
                if (!w.row(error))
                    return false;
                ++m_stats.pieceRecords;
            }
        }
    }
    if (!w.finish(error))
        return false;
    tell(QStringLiteral("piece-rate records: %1").arg(m_stats.pieceRecords));
    return true;
}

bool Generator::writeTimeRecords(QString *error) {
    if (m_workTypes.empty())
        return true;
    // About one employee in seven also works by the hour, on roughly two days of five.
    std::vector<int> workers;
    std::vector<int> types;
    for (int i = 0; i < int(m_employees.size()); ++i)
        if (m_dice.chance(0.15)) {
            workers.push_back(i);
            types.push_back(m_dice.between(0, int(m_workTypes.size()) - 1));
        }
    ChunkWriter w = writer();
    if (!w.prepare(
            QStringLiteral("insert into wg_ShengChanJSrec (F_SCdate, F_shengchanCode, F_EmpCode, F_empName, "
                           "F_Dept, F_GZtype, F_JSunit, F_JSprice, F_amount, F_totalprice, F_editdate) "
                           "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            error))
        return false;
    const int days = int(m_start.daysTo(m_end));
    for (int day = 0; day < days; ++day) {
        const QDate date = m_start.addDays(day);
        if (date.dayOfWeek() > 5)
            continue;
        const QString dateText = date.toString(kDateFormat);
        const std::vector<QString> orders = orderNumbers(QStringLiteral("JS"), date);
        for (size_t k = 0; k < workers.size(); ++k) {
            const Employee &e = m_employees[size_t(workers[k])];
            const auto span = workSpan(e);
            if (day < span.first || day >= span.second || !m_dice.chance(0.4))
                continue;
            const WorkType &t = m_workTypes[size_t(types[k])];
            const bool byDay = t.unit == QStringLiteral("天");
            const double amount = byDay ? (m_dice.chance(0.5) ? 0.5 : 1.0) : m_dice.between(2, 8) / 2.0;
            QSqlQuery &q = w.query();
            q.bindValue(0, dateText);
            q.bindValue(1, orders[size_t(e.deptIndex)]);
            q.bindValue(2, e.code);
            q.bindValue(3, e.name);
            q.bindValue(4, e.dept);
            q.bindValue(5, t.name);
            q.bindValue(6, t.unit);
            q.bindValue(7, t.price);
            q.bindValue(8, amount);
            q.bindValue(9, RoundMoney(amount * t.price));
            q.bindValue(10, dateText);
            if (!w.row(error))
                return false;
            ++m_stats.timeRecords;
        }
    }
    if (!w.finish(error))
        return false;
    tell(QStringLiteral("time-rate records: %1").arg(m_stats.timeRecords));
    return true;
}

bool Generator::writeEnterOut(QString *error) {
    QStringList deductionTypes = codeNames(QStringLiteral("zctype"));
    QStringList allowanceTypes = codeNames(QStringLiteral("srtype"));
    if (deductionTypes.isEmpty())
        deductionTypes << QString();
    if (allowanceTypes.isEmpty())
        allowanceTypes << QString();
    static const QStringList makers = {QStringLiteral("张主管"), QStringLiteral("李会计"),
                                       QStringLiteral("王文员")};
    QString operName;
    {
        QSqlQuery q(m_db);
        if (q.exec(QStringLiteral("select F_Name from OperList where F_Code = '000'")) && q.next())
            operName = q.value(0).toString();
    }

    ChunkWriter w = writer();
    if (!w.prepare(QStringLiteral("insert into wg_EnterOut (F_Code, F_Name, F_Itemcode, F_ItemName, F_Type, "
                                  "F_EditDate, F_MakeDate, F_Maker, F_OperName, F_OperFlag, F_Price, F_Mem) "
                                  "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '')"),
                   error))
        return false;
    // draws in a fixed order: item, amount, category, date, person responsible
    auto book = [&](const Employee &e, const std::vector<WageItem> &items, const QStringList &types,
                    const QDate &from, const QDate &to, int flag) {
        const WageItem &item = items[size_t(m_dice.between(0, int(items.size()) - 1))];
        const double price = flag < 0 ? RoundMoney(m_dice.between(2000, 30000) / 100.0)
                                      : RoundMoney(m_dice.between(5, 50) * 10.0);
        // a category named like the item where the dictionary has one
        QString type = m_dice.pick(types);
        if (types.contains(item.name))
            type = item.name;
        const QString dateText = m_dice.dateBetween(from, to).toString(kDateFormat);
        QSqlQuery &q = w.query();
        q.bindValue(0, e.code);
        q.bindValue(1, e.name);
        q.bindValue(2, item.code);
        q.bindValue(3, item.name);
        q.bindValue(4, text(type));
        q.bindValue(5, dateText);
        q.bindValue(6, dateText);
        q.bindValue(7, m_dice.pick(makers));
        q.bindValue(8, text(operName));
        q.bindValue(9, flag);
        q.bindValue(10, price);
        return w.row(error);
    };
    for (int month = 0; month < m_opt.months; ++month) {
        const QDate first = m_start.addMonths(month);
        const QDate last = first.addMonths(1).addDays(-1);
        for (const Employee &e : m_employees) {
            const QDate from = std::max(first, e.begin);
            const QDate to = e.left.isValid() ? std::min(last, e.left.addDays(-1)) : last;
            if (to < from)
                continue;
            if (!m_deductionItems.empty() && m_dice.chance(0.6)) {
                if (!book(e, m_deductionItems, deductionTypes, from, to, -1))
                    return false;
                ++m_stats.deductions;
            }
            if (!m_allowanceItems.empty() && m_dice.chance(0.3)) {
                if (!book(e, m_allowanceItems, allowanceTypes, from, to, 1))
                    return false;
                ++m_stats.allowances;
            }
        }
    }
    if (!w.finish(error))
        return false;
    tell(QStringLiteral("deductions: %1, allowances: %2%3")
             .arg(m_stats.deductions)
             .arg(m_stats.allowances)
             .arg(m_deductionItems.empty() || m_allowanceItems.empty()
                      ? QStringLiteral(" (the template has no usable item of one kind)")
                      : QString()));
    return true;
}

} // namespace

QString checkGenOptions(const GenOptions &o) {
    if (o.dbPath.trimmed().isEmpty())
        return QStringLiteral("no database file given (--db)");
    if (o.employees < 1 || o.employees > 1000000)
        return QStringLiteral("the number of employees must be from 1 to 1000000, not %1").arg(o.employees);
    if (o.months < 1 || o.months > 120)
        return QStringLiteral("the number of months must be from 1 to 120, not %1").arg(o.months);
    if (o.recordsPerDay < 0 || o.recordsPerDay > 50)
        return QStringLiteral("the records per day must be from 0 to 50, not %1").arg(o.recordsPerDay);
    if (!o.start.isValid() || o.start.day() != 1 || o.start.year() < 1960 || o.start.year() > 2900)
        return QStringLiteral("the first month must be a month from 1960-01 to 2900-12");
    if (o.rowsPerCommit < 1)
        return QStringLiteral("the rows per commit must be at least 1, not %1").arg(o.rowsPerCommit);
    const QFileInfo fi(o.dbPath);
    if (fi.exists() && !fi.isFile())
        return QStringLiteral("%1 is not a file").arg(o.dbPath);
    if (fi.exists() && !o.append)
        return QStringLiteral("%1 exists; it is left untouched (use --append to add to it)").arg(o.dbPath);
    return QString();
}

bool generateCompany(const GenOptions &options, QString *error, GenStats *stats) {
    const QString bad = checkGenOptions(options);
    if (!bad.isEmpty()) {
        if (error)
            *error = bad;
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    GenStats local;
    Generator g(options, local);
    const bool ok = g.run(error);
    local.elapsedMs = timer.elapsed();
    if (stats)
        *stats = local;
    return ok;
}
