#pragma once
// The reminders window: the cars whose service is overdue or due within the
// chosen days or kilometres, with the shop's service interval beside them.
// "Позвонили" records that the customer was called; Enter on a row shows the
// car's history. Rebuilt from the database each time it is shown.
#include <QDialog>
#include <QList>

#include <memory>

#include "app/Reminders.h"

class QLabel;
class QPushButton;
namespace widgets {
class LineEdit;
class StringGrid;
}  // namespace widgets

class TNR : public QDialog {
    Q_OBJECT
public:
    explicit TNR(QWidget* parent = nullptr);

    widgets::LineEdit *EditDays, *EditKmAhead;         // due within
    widgets::LineEdit *EditServiceMonths, *EditServiceKm;  // the shop's interval (Settings)
    widgets::StringGrid* Grid_rem;  // column 0 the car's key
    QLabel* LabelTotal;
    QPushButton *BitBtnCalled, *BitBtnPrint, *BitBtnClose;

    // The rows the grid shows, in its order.
    const QList<app::Reminder>& reminders() const { return *rows_; }

    void FormActivate();
    // Reads the list again with the terms as typed; the current car stays current.
    void FillList();

public slots:
    void EditDaysExit();      // Enter in a term: the list again
    void EditServiceExit();   // Enter in the interval: stored, the list again
    void BitBtnCalledClick();
    void BitBtnPrintClick();
    void Grid_remKeyPress();  // Enter: the car's history over this window

protected:
    void hideEvent(QHideEvent* event) override;

private:
    app::ReminderTerms terms() const;
    const app::Reminder* current() const;

    // Shared with the grid's rows, which read the shown fields a screen at a time.
    std::shared_ptr<QList<app::Reminder>> rows_ = std::make_shared<QList<app::Reminder>>();
    bool wasActive_ = false;  // activated since it was last shown
};

extern TNR* NR;
