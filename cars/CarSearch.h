#pragma once
// The search of the car directory: a typed text found anywhere in the
// registration number with its region, the owner, the phone, the VIN or the
// make and model of a car, letters compared in capitals; in a phone blanks,
// "+", "-", "(" and ")" do not count. Every character is taken literally.
//
// It searches the rows the directory fetched when its list was last built
// from the database, so that a keystroke costs no round trip and no scan of
// the table (a scan of 50,000 cars with these comparisons takes the engine
// 150-400 ms); the list is read again on every activation and after every
// write, as before.
#include "fb/RowSet.h"
#include "widgets/GridRows.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace cars {

// The columns the directory opens its list with: those of the list, then VIN.
const QStringList& searchColumns();

// The text as a phone is compared: blanks, "+", "-", "(" and ")" left out.
QString phoneText(const QString& text);

class CarSearch {
public:
    // `list`: the list made by carListRows() of rows opened with searchColumns().
    explicit CarSearch(std::shared_ptr<const widgets::GridRows> list);

    // Row numbers (0-based) of the cars that `text` finds, in list order;
    // every row for a blank text.
    std::vector<int> matches(const QString& text) const;
    // The grid rows for `text`: the whole list for a blank text.
    std::shared_ptr<const widgets::GridRows> rows(const QString& text) const;

private:
    void index() const;

    std::shared_ptr<const widgets::GridRows> list_;
    const fb::RowSet* rows_;  // held by list_
    mutable std::vector<QString> text_, phone_;  // made at the first search
};

}  // namespace cars
