#pragma once
// "Выручка": the twelve months up to a chosen one as a chart (labour and
// parts stacked, what was paid as a line), the same figures in a table with
// the contracts and the average order of each month, and the ten works that
// brought in most over those months. Prints and saves the chart as PNG.
#include "app/Revenue.h"
#include "print/Document.h"

#include <QDialog>

class QLabel;
class QPushButton;
namespace widgets {
class BarChart;
class DateEdit;
class StringGrid;
}  // namespace widgets

class TRV : public QDialog {
    Q_OBJECT
public:
    explicit TRV(QWidget* parent = nullptr);

    QLabel *Label1, *Label2;  // "ПО МЕСЯЦ", the works' heading
    widgets::DateEdit* DateTo;  // a day of the last month shown
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4;  // show, print, PNG, close
    widgets::BarChart* Chart;
    widgets::StringGrid* Grid_months;
    widgets::StringGrid* Grid_works;

    app::Revenue Figures;  // what the chart and the tables show

    print::Document PrintDocument() const;
    void SavePng(const QString& file) const;  // throws when it cannot be written

public slots:
    // Once per opening (not after a preview or a file dialog over it): the
    // default period, shown.
    void FormActivate();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
protected:
    void showEvent(QShowEvent* event) override;

private:
    bool opening_ = false;
};

extern TRV* RV;
