#pragma once
// A tiny list window and edit dialog over t_code rows of one kind, as a derived window of the
// program would write them.
#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/keltrin.h"
#include "core/transaction.h"
#include "core/ueditdialog.h"
#include "core/ulistwindow.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>

inline const QString kTestKind = QStringLiteral("tstkind");

// Adds a t_code row of the test kind; returns its F_ID.
inline qint64 addCode(const QString &name, const QString &kind = kTestKind) {
    TdmData::ExecSql("insert into t_code (F_type, F_Name) values (?, ?)", {kind, name});
    return TdmData::LookupStr("select max(F_ID) from t_code").toLongLong();
}

inline int codeCount(const QString &kind = kTestKind) {
    return TdmData::LookupInt("select count(*) from t_code where F_type = ?", {kind});
}

// The code editor: a name box, a remark box that is not stored, and a way to make the save fail
// after it has written the row.
class CodeEditDialog : public TEditDialog {
public:
    enum Failure { NoFailure, MissingTable, Trigger, OwnMessage };

    explicit CodeEditDialog(QWidget *parent = nullptr) : TEditDialog(QStringLiteral("代码"), parent) {
        auto *form = new QFormLayout(body());
        name = new QLineEdit(body());
        remark = new QPlainTextEdit(body());
        other = new QLineEdit(body());
        form->addRow(QStringLiteral("名称："), name);
        form->addRow(QStringLiteral("说明："), remark);
        form->addRow(QStringLiteral("其他："), other);
    }

    QLineEdit *name;
    QPlainTextEdit *remark;
    QLineEdit *other;
    Failure failure = NoFailure;
    QList<qint64> loaded;
    int clears = 0;

protected:
    void loadRecord(qint64 id) override {
        loaded << id;
        name->setText(TdmData::LookupStr("select F_Name from t_code where F_ID = ?", {id}));
    }
    void clearForNew() override {
        ++clears;
        name->clear();
        remark->clear();
    }
    bool validate() override {
        if (name->text().trimmed().isEmpty()) {
            ShowMess(QStringLiteral("名称不能为空！"), 0);
            name->setFocus();
            return false;
        }
        return true;
    }
    qint64 save(Transaction &) override {
        qint64 id = currentId();
        if (isAddMode()) {
            id = insertSql("insert into t_code (F_type, F_Name) values (?, ?)",
                           {kTestKind, name->text().trimmed()});
            if (id < 0)
                return kSaveFailed;
        } else if (!execSql("update t_code set F_Name = ? where F_ID = ?", {name->text().trimmed(), id})) {
            return kSaveFailed;
        }
        switch (failure) {
        case NoFailure:
            break;
        case MissingTable:
            if (!execSql("insert into t_no_such_table (F_x) values (?)", {1}))
                return kSaveFailed;
            break;
        case Trigger:
            // t_code_guard refuses this row
            if (!execSql("insert into t_code (F_type, F_Name) values (?, ?)",
                         {QStringLiteral("guarded"), id}))
                return kSaveFailed;
            break;
        case OwnMessage:
            ShowMess(QStringLiteral("编号重复！"), 2);
            return kSaveRefused;
        }
        return id;
    }
};

// The code list: t_code rows of the test kind, a name filter and a 查询 button.
class CodeListWindow : public TListWindow {
public:
    explicit CodeListWindow(QWidget *parent = nullptr) : TListWindow(QStringLiteral("代码管理"), parent) {
        grid()->addColumn({"F_type", "类型"});
        grid()->addColumn({"F_Name", "名称"});
        auto *row = new QHBoxLayout(filterArea());
        nameFilter = new QLineEdit(filterArea());
        typeFilter = new QLineEdit(filterArea());
        findButton = new QPushButton(QStringLiteral("查询"), filterArea());
        row->addWidget(nameFilter);
        row->addWidget(typeFilter);
        row->addWidget(findButton);
        QObject::connect(findButton, &QPushButton::clicked, this, [this] { refreshList(); });
    }

    QLineEdit *nameFilter;
    QLineEdit *typeFilter;
    QPushButton *findButton;
    bool orderByName = false;
    bool useDialog = false;
    int adds = 0;
    int edits = 0;
    int deletes = 0;

protected:
    SqlPart buildQuery() const override {
        SqlPart q{QStringLiteral("select * from t_code where F_type = ? "), {kTestKind}};
        const QString t = nameFilter->text().trimmed();
        if (!t.isEmpty())
            appendSql(q, QStringLiteral("and F_Name like ? "),
                      {QStringLiteral("%") + t + QStringLiteral("%")});
        appendSql(q, orderByName ? QStringLiteral("order by F_Name") : QStringLiteral("order by F_ID"));
        return q;
    }
    QString recordTable() const override { return QStringLiteral("t_code"); }
    void addRecord() override {
        ++adds;
        if (useDialog) {
            CodeEditDialog dlg(this);
            runEditDialog(&dlg, true);
        }
    }
    void editRecord() override {
        ++edits;
        if (useDialog) {
            CodeEditDialog dlg(this);
            runEditDialog(&dlg, false);
        }
    }
    bool deleteRecord() override {
        ++deletes;
        return TListWindow::deleteRecord();
    }
};
