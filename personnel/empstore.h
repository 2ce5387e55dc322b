#pragma once
#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QString>

// Reading and writing one employee of t_employee, its photo, and carrying a changed code, name
// or department into the copies kept by the sub-record and payroll tables.
namespace empstore {

// The stored form of the empty date.
inline constexpr const char *kEmptyDate = "1900-08-14";
// Stored dates before this one read as empty.
inline constexpr const char *kFirstRealDate = "1901-08-14";

// A date for storage: yyyy-MM-dd, or the empty date for a null date.
QString dateText(const QDate &date);
// A stored date: null when empty, unreadable or before 1901-08-14.
QDate dateFromText(const QString &text);

// An employee photo: the picture and the bytes kept in F_EmpImage (a BMP or JPEG stream).
struct Photo {
    QImage image;
    QByteArray data;
    QString fileName; // the file-name part kept in F_imagePath; its extension names the stream's kind
    bool isNull() const { return image.isNull(); }
};

// Reads a picture file of any format the program reads. BMP and JPEG files are kept as they
// are; any other picture is stored as a JPEG stream and its stored name takes the extension
// ".jpg". False with *error a message for the user when the file cannot be read as a picture.
bool readPhotoFile(const QString &path, Photo *photo, QString *error = nullptr);
// A photo from a picture already decoded (for instance one shown in the picture window), kept
// as a BMP stream when name says ".bmp" and as a JPEG stream otherwise.
Photo photoFromImage(const QImage &image, const QString &name);
// The photo of a stored row; null when data is empty or not a readable picture.
Photo photoFromStored(const QByteArray &data, const QString &storedName);

struct Employee {
    qint64 id = -1;
    QString code, name, dept, duty;
    QString sex = QStringLiteral("男");
    QString ifHun = QStringLiteral("否");
    QString xueliLB, xueli, jishuZC, xuexiao, zhuanye, jiguan, homePhone;
    QDate biyeDate;
    QString minzu, movePhone, address;
    QDate birthday;
    QString sfzCode;
    QDate beginDate;
    QString laiyuan, gongziCode;
    QString mem1, mem2;
    bool useFlag = false;
    QString imagePath;
    QByteArray empImage;
    QString zzMianmao, pyXingshi;
    double gongZi = 0;
    QString lzType;
    QDate lzDate;
    QString lzMem;
    QDate qdDate;
    QString htQixian;
    QDate endDate;
    QString cbFlag = QStringLiteral("否");
    QString daCode;
};

// The stored employee with key id; false when there is no such row or it cannot be read.
bool load(qint64 id, Employee *e);
// Inserts e (its id is ignored); the new key, or -1 when the statement failed. No message.
qint64 insert(const Employee &e);
// Updates the row e.id; false when the statement failed. No message.
bool update(const Employee &e);

// The key of an employee with this code / name (compared as the database compares text);
// 0 when there is none.
qint64 findByCode(const QString &code);
qint64 findByName(const QString &name);

// Carries a changed code, name or department of employee id into the copies in the training,
// transfer, assessment, contract, salary-adjustment and reward/penalty records (by F_empID) and
// the piece-rate, time-rate and wage rows (by the old code). Work history, residence permits
// and family-planning certificates keep their rows; transfers keep their department history.
// Runs inside the caller's transaction; false as soon as a statement fails.
bool propagate(qint64 id, const QString &oldCode, const QString &oldName, const QString &oldDept,
               const QString &code, const QString &name, const QString &dept);

} // namespace empstore
