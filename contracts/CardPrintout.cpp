#include "contracts/CardPrintout.h"

#include "app/DM.h"
#include "app/FormShopHeader.h"
#include "app/ShopDetails.h"
#include "app/SchemaUpgrade.h"
#include "office/Templates.h"
#include "office/Spreadsheet.h"
#include "app/ShowResult.h"

#include <QFileInfo>

namespace contracts {

namespace {

using namespace office;

QString cellName(const char* column, int row) { return QString::fromLatin1(column) + QString::number(row); }

// Prices and quantities go in as numbers, so that the card's formulas add
// them up; a missing value leaves its cell blank.
void writeNumber(Spreadsheet& xl, const char* column, int row, const fb::Field& value) {
    if (!value.isNull()) xl.range(cellName(column, row)).setValue(value.asFloat());
}

}  // namespace

void PrintContractCard(const QString& key) {
    if (key.isEmpty()) return;

    // The spreadsheet lives for this printout only: on any failure it goes
    // without showing anything, and the template's copy stays as it was.
    Spreadsheet xl;
    Workbook& book = xl.workbooksOpen(formPath(QString::fromLatin1(card::File)));
    xl.run(QString::fromLatin1(card::CleanForm));
    xl.setVisible(true);
    app::FormShopHeader header(book, app::shopDetails(), QString::fromLatin1(card::ShopName),
                               QString::fromLatin1(card::ShopInfo));

    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("SELECT ct.*, cr.*, cr.km AS car_km FROM Contracts ct INNER JOIN CARS cr ON ct.cr_fk=cr.pk_id "
                                 "WHERE ct.pk_id = :pk_id"));
    q.setString(QStringLiteral("pk_id"), key);
    q.open();
    q.first();
    // A key that names no contract leaves every card cell an empty text.
    const bool found = !q.eof();
    auto field = [&q, found](const char* name) { return found ? q.field(QString::fromLatin1(name)).asString() : QString(); };
    auto pair = [&](const char* a, const char* b) { return found ? field(a) + u' ' + field(b) : QString(); };
    const QString num = field("num");
    xl.range(card::Number).setValue(num);
    xl.range(card::Date).setValue(field("c_date"));
    xl.range(card::Car).setValue(pair("Dev", "mod"));
    xl.range(card::Plate).setValue(pair("GNum", "region"));
    xl.range(card::Year).setValue(field("d_year"));
    xl.range(card::Vin).setValue(field("vin"));
    xl.range(card::Color).setValue(field("color"));
    xl.range(card::Engine).setValue(pair("engine", "engine2"));
    xl.range(card::Body).setValue(pair("body", "body2"));
    // The mileage of this visit (none recorded: the place stays empty); a
    // database without it prints the car's, as before.
    xl.range(card::Mileage).setValue(field(app::hasSchema(1) ? "km" : "car_km"));
    xl.range(card::Owner).setValue(field("owner"));
    xl.range(card::Phone).setValue(field("phone"));
    xl.range(card::Mechanic).setValue(field("meh"));
    // Written before the lines: when a line section grows, the remark moves
    // down with the rest of the card.
    xl.range(card::Remark).setValue(field("rem"));
    q.close();

    // Each line section grows to hold all its lines, so that many works
    // never run into the spare parts and no line is dropped.
    TDM::reset(q, QStringLiteral("SELECT * FROM CT_Works WHERE ct_fk = :ct_fk"));
    q.setString(QStringLiteral("ct_fk"), key);
    q.open();
    int row = card::fitWorkLines(book, q.recordCount());
    for (; !q.eof(); q.next(), ++row) {
        xl.range(cellName(card::WorkName, row)).setValue(q.field(QStringLiteral("name")).asString());
        writeNumber(xl, card::WorkPrice, row, q.field(QStringLiteral("price")));
    }
    q.close();

    TDM::reset(q, QStringLiteral("SELECT * FROM CT_Spares WHERE ct_fk = :ct_fk"));
    q.setString(QStringLiteral("ct_fk"), key);
    q.open();
    row = card::fitSpareLines(book, q.recordCount());
    for (; !q.eof(); q.next(), ++row) {
        xl.range(cellName(card::SpareName, row)).setValue(q.field(QStringLiteral("name")).asString());
        writeNumber(xl, card::SpareQuantity, row, q.field(QStringLiteral("num")));
        writeNumber(xl, card::SparePrice, row, q.field(QStringLiteral("price")));
    }
    q.close();

    // The template's own copy holds the last card printed where the program
    // folder lets the user write (an installed program's does not); the user
    // gets a fresh file of it in any case, which opens even while an earlier
    // card is still open.
    // It keeps the header's blanks, for whatever details come next.
    if (QFileInfo(QFileInfo(book.path()).absolutePath()).isWritable() && QFileInfo(book.path()).isWritable()) {
        header.putBlanksBack();
        xl.activeWorkbook().save();
        header.fillAgain();
    }
    if (found && !num.isEmpty()) xl.setOutputStem(QStringLiteral("Заказ-наряд-") + num);
    app::ShowResult(xl);
}

}  // namespace contracts
