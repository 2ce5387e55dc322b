#include "udlgempcx.h"

#include "core/datadm.h"
#include "core/enternavigation.h"
#include "core/keltrin.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using personnel::EmpCxQuery;

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QDateEdit *makeDateEdit(const QString &name, const QString &format) {
    auto *e = new QDateEdit;
    e->setObjectName(name);
    e->setDisplayFormat(format);
    e->setCalendarPopup(format == kDateFormat);
    return e;
}

} // namespace

TDlgEmpCX::TDlgEmpCX(QWidget *parent) : QDialog(parent) {
    setModal(true);
    setWindowTitle(QStringLiteral("员工查询对话框"));

    // the text conditions, three pairs of label and control a line
    auto *fields = new QGridLayout;
    int i = 0;
    for (const EmpCxQuery::TextField &f : EmpCxQuery::textFields()) {
        QWidget *w = nullptr;
        if (f.isCombo()) {
            auto *c = new QComboBox;
            c->setEditable(true);
            c->addItems(f.items);
            c->setCurrentIndex(-1);
            c->setEditText(QString());
            if (!f.codeKind.isEmpty()) {
                m_codeKinds.insert(c, f.codeKind);
                c->installEventFilter(this);
            }
            w = c;
        } else {
            w = new QLineEdit;
        }
        w->setObjectName(f.control);
        w->setMinimumWidth(120);
        auto *label = new QLabel(f.label);
        label->setBuddy(w);
        fields->addWidget(label, i / 3, (i % 3) * 2);
        fields->addWidget(w, i / 3, (i % 3) * 2 + 1);
        m_controls.insert(f.column.toLower(), w);
        ++i;
    }
    // the department box as the operator's restriction allows
    if (auto *dept = qobject_cast<QComboBox *>(control(QStringLiteral("F_dept")))) {
        fillDeptCombo(dept);
        if (dept->isEnabled()) {
            dept->setCurrentIndex(-1);
            dept->setEditText(QString());
        }
    }

    // status
    auto *status = new QGroupBox;
    status->setObjectName(QStringLiteral("RadioGroup1"));
    rbAll = new QRadioButton(QStringLiteral("全    部"));
    rbNormal = new QRadioButton(QStringLiteral("正    常"));
    rbLeft = new QRadioButton(QStringLiteral("已离职"));
    auto *statusGroup = new QButtonGroup(this);
    auto *statusLayout = new QHBoxLayout(status);
    for (QRadioButton *rb : {rbAll, rbNormal, rbLeft}) {
        statusGroup->addButton(rb);
        statusLayout->addWidget(rb);
    }
    rbNormal->setChecked(true);

    // the date ranges: 录用日期, 毕业日期, 离职日期 with tick boxes, then 生日 (month and day)
    const QDate today = QDate::currentDate();
    const QDate monthStart(today.year(), today.month(), 1);
    const char *fromNames[4] = {"dtpfromDate", "dtpfromDate1", "dtpFromDate2", "dtpfromDate3"};
    const char *toNames[4] = {"dtptoDate", "dtptoDate1", "dtpToDate2", "dtptoDate3"};
    const QString captions[4] = {QStringLiteral("录用日期："), QStringLiteral("毕业日期："),
                                 QStringLiteral("离职日期："), QStringLiteral("生    日：")};
    auto *dates = new QGridLayout;
    for (int k = 0; k < 4; ++k) {
        const bool birthday = k == 3;
        rangeBox[k] = new QCheckBox(captions[k]);
        rangeBox[k]->setObjectName(QStringLiteral("CheckBox%1").arg(k + 1));
        fromDate[k] = makeDateEdit(QString::fromLatin1(fromNames[k]),
                                   birthday ? QStringLiteral("MM月dd日") : kDateFormat);
        toDate[k] = makeDateEdit(QString::fromLatin1(toNames[k]),
                                 birthday ? QStringLiteral("MM月dd日") : kDateFormat);
        fromDate[k]->setDate(monthStart);
        toDate[k]->setDate(today);
        int col = 0;
        dates->addWidget(rangeBox[k], k, col++);
        dates->addWidget(new QLabel(QStringLiteral("自")), k, col++);
        QList<QWidget *> pickers{fromDate[k], toDate[k]};
        if (!birthday) {
            fromTick[k] = new QCheckBox;
            fromTick[k]->setChecked(true);
            toTick[k] = new QCheckBox;
            toTick[k]->setChecked(true);
            pickers << fromTick[k] << toTick[k];
            dates->addWidget(fromTick[k], k, col++);
        }
        dates->addWidget(fromDate[k], k, col++);
        dates->addWidget(new QLabel(QStringLiteral("至")), k, col++);
        if (!birthday)
            dates->addWidget(toTick[k], k, col++);
        dates->addWidget(toDate[k], k, col++);
        for (QWidget *w : pickers)
            w->setEnabled(false);
        connect(rangeBox[k], &QCheckBox::toggled, this, [pickers](bool on) {
            for (QWidget *w : pickers)
                w->setEnabled(on);
        });
    }
    dates->setColumnStretch(7, 1);

    Button1 = new QPushButton(QStringLiteral("查询(&P)"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("关闭(&C)"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(status);
    layout->addLayout(dates);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, [this] { button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    m_keys = new DialogKeyFilter(this, [this](QWidget *, QKeyEvent *e) {
        if (e->key() == Qt::Key_S && (e->modifiers() & Qt::ControlModifier)) {
            Button1->click();
            return true;
        }
        if (e->key() == Qt::Key_Escape) {
            Button2->click();
            return true;
        }
        return false;
    });
    DispFormPos(this, 1);
}

TDlgEmpCX::~TDlgEmpCX() = default;

QWidget *TDlgEmpCX::control(const QString &column) const {
    return m_controls.value(column.toLower());
}

void TDlgEmpCX::setConditionText(const QString &column, const QString &text) {
    QWidget *w = control(column);
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(text);
    else if (auto *c = qobject_cast<QComboBox *>(w))
        c->setEditText(text);
}

EmpCxQuery TDlgEmpCX::query() const {
    EmpCxQuery q;
    for (const EmpCxQuery::TextField &f : EmpCxQuery::textFields()) {
        QWidget *w = control(f.column);
        if (auto *e = qobject_cast<QLineEdit *>(w))
            q.setText(f.column, e->text());
        else if (auto *c = qobject_cast<QComboBox *>(w))
            q.setText(f.column, c->currentText());
    }
    q.setStatus(rbAll->isChecked()    ? EmpCxQuery::Status::All
                : rbLeft->isChecked() ? EmpCxQuery::Status::Left
                                      : EmpCxQuery::Status::InService);
    for (int k = 0; k < EmpCxQuery::DateKindCount; ++k) {
        EmpCxQuery::DateRange r;
        r.on = rangeBox[k]->isChecked();
        if (fromTick[k]->isChecked())
            r.from = fromDate[k]->date().toString(kDateFormat);
        if (toTick[k]->isChecked())
            r.to = toDate[k]->date().toString(kDateFormat);
        q.setDateRange(EmpCxQuery::DateKind(k), r);
    }
    q.setBirthdayRange(rangeBox[3]->isChecked(), fromDate[3]->date().toString(kDateFormat),
                       toDate[3]->date().toString(kDateFormat));
    return q;
}

void TDlgEmpCX::button1Click() {
    QString error;
    if (!query().validate(&error)) {
        ShowMess(error, 2);
        return;
    }
    accept();
}

SqlPart TDlgEmpCX::BuildEmployeeQuery() {
    if (exec() != QDialog::Accepted)
        return SqlPart();
    return query().statement();
}

bool TDlgEmpCX::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn) {
        auto *c = qobject_cast<QComboBox *>(watched);
        if (c && m_codeKinds.contains(c)) {
            // the kind's names are read each time the box is entered; what was typed stays
            const QString text = c->currentText();
            TdmData::FillCombo(
                QStringLiteral("select distinct F_name from t_code where (F_name <> '') and F_type = ?"), c,
                {m_codeKinds.value(c)});
            c->setEditText(text);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool RunEmpQuery(QWidget *owner, SqlPart *condition) {
    TDlgEmpCX dlg(owner);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    if (condition)
        *condition = dlg.query().condition(false);
    return true;
}
