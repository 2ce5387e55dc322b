#include "empstore.h"

#include "core/database.h"
#include "core/datadm.h"
#include "core/pubunit.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSqlQuery>
#include <QSqlRecord>

namespace empstore {

QString dateText(const QDate &date) {
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString::fromLatin1(kEmptyDate);
}

QDate dateFromText(const QString &text) {
    const QString t = text.trimmed().left(10);
    if (t < QLatin1String(kFirstRealDate))
        return QDate();
    return QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
}

namespace {

QByteArray encode(const QImage &image, const char *format) {
    QImage img = image;
    if (qstrcmp(format, "JPG") == 0 && img.hasAlphaChannel()) {
        // JPEG keeps no transparency: lay the picture on white
        QImage flat(img.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, img);
        p.end();
        img = flat;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, format, qstrcmp(format, "JPG") == 0 ? 90 : -1))
        return QByteArray();
    return bytes;
}

QString withSuffix(const QString &name, const QString &suffix) {
    const QFileInfo fi(name);
    const QString base = fi.completeBaseName().isEmpty() ? QStringLiteral("photo") : fi.completeBaseName();
    return base + suffix;
}

// "bmp", "jpeg" or another format name read from the bytes themselves.
QByteArray contentFormat(const QByteArray &data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer).toLower();
}

} // namespace

bool readPhotoFile(const QString &path, Photo *photo, QString *error) {
    const auto fail = [&] {
        if (error)
            *error =
                QStringLiteral("读取文件：%1时发生错误！\r该文件不是标准格式的文件，或者该文件已经被损坏！")
                    .arg(path);
        return false;
    };
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fail();
    const QByteArray bytes = f.readAll();
    QImage image;
    if (!image.loadFromData(bytes) || image.isNull())
        return fail();
    const QByteArray format = contentFormat(bytes);
    Photo p;
    p.image = image;
    const QString name = QFileInfo(path).fileName();
    if (format == "bmp") {
        p.data = bytes;
        p.fileName = GetPictureType(name) == 1 ? name : withSuffix(name, QStringLiteral(".bmp"));
    } else if (format == "jpeg" || format == "jpg") {
        p.data = bytes;
        p.fileName = GetPictureType(name) == 2 ? name : withSuffix(name, QStringLiteral(".jpg"));
    } else {
        p.data = encode(image, "JPG");
        p.fileName = withSuffix(name, QStringLiteral(".jpg"));
        if (p.data.isEmpty())
            return fail();
    }
    *photo = p;
    return true;
}

Photo photoFromImage(const QImage &image, const QString &name) {
    Photo p;
    if (image.isNull())
        return p;
    p.image = image;
    if (GetPictureType(name) == 1) {
        p.data = encode(image, "BMP");
        p.fileName = QFileInfo(name).fileName();
    } else {
        p.data = encode(image, "JPG");
        p.fileName =
            GetPictureType(name) == 2 ? QFileInfo(name).fileName() : withSuffix(name, QStringLiteral(".jpg"));
    }
    return p;
}

Photo photoFromStored(const QByteArray &data, const QString &storedName) {
    Photo p;
    if (data.isEmpty())
        return p;
    QImage image;
    if (!image.loadFromData(data) || image.isNull())
        return p;
    p.image = image;
    p.data = data;
    p.fileName = storedName;
    return p;
}

namespace {

const char *const kColumns =
    "F_code,F_name,F_dept,F_duty,F_sex,F_IFhun,F_xueliLB,F_xueli,F_jishuZC,F_xuexiao,"
    "F_zhuanye,F_jiguan,F_homePhone,F_biyeDate,F_minzu,F_movePhone,F_address,"
    "F_birthDay,F_SFZcode,F_beginDate,F_laiyuan,F_gongziCode,F_mem1,F_mem2,F_useFlag,"
    "F_imagePath,F_EmpImage,F_ZZmianmao,F_PYxingshi,F_gongZI,F_LZtype,F_LZdate,"
    "F_LZmem,F_QDdate,F_HTqixian,F_endDate,F_CBflag,F_DAcode";

QVariantList values(const Employee &e) {
    const QVariant image =
        e.empImage.isEmpty() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(e.empImage);
    return {e.code.trimmed(),
            e.name.trimmed(),
            e.dept.trimmed(),
            e.duty.trimmed(),
            e.sex,
            e.ifHun,
            e.xueliLB.trimmed(),
            e.xueli.trimmed(),
            e.jishuZC.trimmed(),
            e.xuexiao.trimmed(),
            e.zhuanye.trimmed(),
            e.jiguan.trimmed(),
            e.homePhone.trimmed(),
            dateText(e.biyeDate),
            e.minzu.trimmed(),
            e.movePhone.trimmed(),
            e.address.trimmed(),
            dateText(e.birthday),
            e.sfzCode.trimmed(),
            dateText(e.beginDate),
            e.laiyuan.trimmed(),
            e.gongziCode.trimmed(),
            e.mem1,
            e.mem2,
            e.useFlag ? 1 : 0,
            QFileInfo(e.imagePath).fileName(),
            image,
            e.zzMianmao.trimmed(),
            e.pyXingshi.trimmed(),
            RoundMoney(e.gongZi),
            e.lzType.trimmed(),
            dateText(e.lzDate),
            e.lzMem.trimmed(),
            dateText(e.qdDate),
            e.htQixian.trimmed(),
            dateText(e.endDate),
            e.cbFlag,
            e.daCode.trimmed()};
}

bool run(QSqlQuery &q, const QString &sql, const QVariantList &binds) {
    return TdmData::RunQuery(q, sql, binds);
}

} // namespace

bool load(qint64 id, Employee *e) {
    QSqlQuery q(Database::db());
    if (!run(q, QStringLiteral("select F_ID,%1 from t_employee where F_ID = ?").arg(QLatin1String(kColumns)),
             {id}) ||
        !q.next())
        return false;
    const QSqlRecord r = q.record();
    const auto s = [&](const char *c) { return r.value(QLatin1String(c)).toString(); };
    const auto d = [&](const char *c) { return dateFromText(s(c)); };
    Employee x;
    x.id = r.value(0).toLongLong();
    x.code = s("F_code");
    x.name = s("F_name");
    x.dept = s("F_dept");
    x.duty = s("F_duty");
    x.sex = s("F_sex");
    x.ifHun = s("F_IFhun");
    x.xueliLB = s("F_xueliLB");
    x.xueli = s("F_xueli");
    x.jishuZC = s("F_jishuZC");
    x.xuexiao = s("F_xuexiao");
    x.zhuanye = s("F_zhuanye");
    x.jiguan = s("F_jiguan");
    x.homePhone = s("F_homePhone");
    x.biyeDate = d("F_biyeDate");
    x.minzu = s("F_minzu");
    x.movePhone = s("F_movePhone");
    x.address = s("F_address");
    x.birthday = d("F_birthDay");
    x.sfzCode = s("F_SFZcode");
    x.beginDate = d("F_beginDate");
    x.laiyuan = s("F_laiyuan");
    x.gongziCode = s("F_gongziCode");
    x.mem1 = s("F_mem1");
    x.mem2 = s("F_mem2");
    x.useFlag = r.value(QStringLiteral("F_useFlag")).toInt() != 0;
    x.imagePath = s("F_imagePath");
    x.empImage = r.value(QStringLiteral("F_EmpImage")).toByteArray();
    x.zzMianmao = s("F_ZZmianmao");
    x.pyXingshi = s("F_PYxingshi");
    x.gongZi = r.value(QStringLiteral("F_gongZI")).toDouble();
    x.lzType = s("F_LZtype");
    x.lzDate = d("F_LZdate");
    x.lzMem = s("F_LZmem");
    x.qdDate = d("F_QDdate");
    x.htQixian = s("F_HTqixian");
    x.endDate = d("F_endDate");
    x.cbFlag = s("F_CBflag");
    x.daCode = s("F_DAcode");
    *e = x;
    return true;
}

qint64 insert(const Employee &e) {
    const QVariantList binds = values(e);
    QStringList marks;
    for (int i = 0; i < binds.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery q(Database::db());
    if (!run(q,
             QStringLiteral("insert into t_employee(%1) values(%2)")
                 .arg(QLatin1String(kColumns), marks.join(QLatin1Char(','))),
             binds))
        return -1;
    const QVariant id = q.lastInsertId();
    return id.isValid() ? id.toLongLong() : -1;
}

bool update(const Employee &e) {
    const QStringList cols = QString::fromLatin1(kColumns).split(QLatin1Char(','));
    QStringList sets;
    for (const QString &c : cols)
        sets << c + QStringLiteral(" = ?");
    QVariantList binds = values(e);
    binds << e.id;
    QSqlQuery q(Database::db());
    return run(q, QStringLiteral("update t_employee set %1 where F_ID = ?").arg(sets.join(QLatin1Char(','))),
               binds) &&
           q.numRowsAffected() == 1;
}

qint64 findByCode(const QString &code) {
    return TdmData::LookupInt(QStringLiteral("select F_ID from t_employee where F_code = ?"), {code});
}

qint64 findByName(const QString &name) {
    return TdmData::LookupInt(QStringLiteral("select F_ID from t_employee where F_name = ?"), {name});
}

bool propagate(qint64 id, const QString &oldCode, const QString &oldName, const QString &oldDept,
               const QString &code, const QString &name, const QString &dept) {
    QSqlQuery q(Database::db());
    const auto exec = [&](const char *sql, const QVariantList &binds) {
        return run(q, QString::fromLatin1(sql), binds);
    };
    QString payrollCode = oldCode.trimmed();
    if (code.trimmed() != oldCode.trimmed()) {
        const QString c = code.trimmed();
        if (!exec("update T_PXrec set F_EmpCode = ? where F_empID = ?", {c, id}) ||
            !exec("update T_DDrec set F_code = ? where F_empID = ?", {c, id}) ||
            !exec("update t_KHrec set F_code = ? where F_empID = ?", {c, id}) ||
            !exec("update T_HTrec set F_code = ? where F_empID = ?", {c, id}) ||
            !exec("update T_TXrec set F_code = ? where F_empID = ?", {c, id}) ||
            !exec("update T_QCrec set F_code = ? where F_empID = ?", {c, id}) ||
            !exec("update wg_ShengChanRec set F_EmpCode = ? where F_EmpCode = ?", {c, payrollCode}) ||
            !exec("update wg_ShengChanJSrec set F_EmpCode = ? where F_EmpCode = ?", {c, payrollCode}) ||
            !exec("update wg_salaryREC set F_Code = ? where F_Code = ?", {c, payrollCode}))
            return false;
        // the payroll rows now carry the new code
        payrollCode = c;
    }
    if (name.trimmed() != oldName.trimmed()) {
        const QString n = name.trimmed();
        if (!exec("update T_PXrec set F_EmpName = ? where F_empID = ?", {n, id}) ||
            !exec("update T_DDrec set F_name = ? where F_empID = ?", {n, id}) ||
            !exec("update t_KHrec set F_name = ? where F_empID = ?", {n, id}) ||
            !exec("update T_HTrec set F_name = ? where F_empID = ?", {n, id}) ||
            !exec("update T_TXrec set F_name = ? where F_empID = ?", {n, id}) ||
            !exec("update T_QCrec set F_name = ? where F_empID = ?", {n, id}) ||
            !exec("update wg_ShengChanRec set F_EmpName = ? where F_EmpCode = ?", {n, payrollCode}) ||
            !exec("update wg_ShengChanJSrec set F_empName = ? where F_EmpCode = ?", {n, payrollCode}) ||
            !exec("update wg_salaryREC set F_Name = ? where F_Code = ?", {n, payrollCode}))
            return false;
    }
    if (dept.trimmed() != oldDept.trimmed()) {
        const QString d = dept.trimmed();
        if (!exec("update T_PXrec set F_EmpDept = ? where F_empID = ?", {d, id}) ||
            !exec("update t_KHrec set F_dept = ? where F_empID = ?", {d, id}) ||
            !exec("update T_HTrec set F_dept = ? where F_empID = ?", {d, id}) ||
            !exec("update T_TXrec set F_dept = ? where F_empID = ?", {d, id}) ||
            !exec("update T_QCrec set F_dept = ? where F_empID = ?", {d, id}) ||
            !exec("update wg_ShengChanRec set F_Dept = ? where F_EmpCode = ?", {d, payrollCode}) ||
            !exec("update wg_ShengChanJSrec set F_Dept = ? where F_EmpCode = ?", {d, payrollCode}) ||
            !exec("update wg_salaryREC set F_Dept = ? where F_Code = ?", {d, payrollCode}))
            return false;
    }
    return true;
}

} // namespace empstore
