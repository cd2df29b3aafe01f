#pragma once
// The search of the car directory: a typed text found anywhere in the
// registration number with its region, the owner, the phone, the VIN or the
// make and model of a car, compared as cars::fold makes it (capitals, Ё as
// Е, Latin look-alikes as Cyrillic letters, a plate without its blanks, a
// phone as its national number without signs). Every other character is
// taken literally.
//
// It searches the rows the directory fetched when its list was last built
// from the database, so that a keystroke costs no round trip and no scan of
// the table. At the first search (or by prepare()) the stored values are
// folded, byte by byte, into three flat buffers (text, plates, phones),
// which each keystroke then scans with memmem.
#include "fb/RowSet.h"
#include "widgets/GridRows.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cars {

// The columns the directory opens its list with: those of the list, then VIN.
const QStringList& searchColumns();

class CarSearch {
public:
    // `list`: the list made by carListRows() of rows opened with searchColumns().
    explicit CarSearch(std::shared_ptr<const widgets::GridRows> list);

    // Row numbers (0-based) of the cars that `text` finds, in list order;
    // every row for a blank text.
    std::vector<int> matches(const QString& text) const;
    // The grid rows for `text`: the whole list for a blank text.
    std::shared_ptr<const widgets::GridRows> rows(const QString& text) const;
    // Folds the rows now rather than at the first search (once).
    void prepare() const;

    // Values of all rows, folded, one row after another; starts[r] is where
    // row r begins, starts[rowCount] the end.
    struct Buffer {
        std::string bytes;
        std::vector<std::uint32_t> starts;
    };

private:
    std::shared_ptr<const widgets::GridRows> list_;
    const fb::RowSet* rows_;  // held by list_
    mutable bool indexed_ = false;
    mutable Buffer text_, plates_, phones_;  // made at the first search
};

}  // namespace cars
