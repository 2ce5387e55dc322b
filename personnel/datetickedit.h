#pragma once
#include <QDate>
#include <QWidget>

class QCheckBox;
class QDateEdit;

// A date box with a tick box in front: unticked means "no date" (stored as the empty date).
// Dates are shown and typed as yyyy-MM-dd.
class TDateTickEdit : public QWidget {
    Q_OBJECT
public:
    explicit TDateTickEdit(QWidget *parent = nullptr);

    bool isTicked() const;
    void setTicked(bool on);
    // The date shown (also while unticked).
    QDate shownDate() const;
    // The date when ticked; a null date when unticked.
    QDate date() const;
    // A valid date ticks the box and shows it; a null date unticks it and shows today.
    void setDate(const QDate &date);
    QCheckBox *tickBox() const { return m_tick; }
    QDateEdit *dateEdit() const { return m_edit; }

    // The dates a ticked box accepts.
    static QDate minimumDate();
    static QDate maximumDate();

private:
    QCheckBox *m_tick;
    QDateEdit *m_edit;
};
