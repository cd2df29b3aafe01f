#pragma once
// The shop's name, address and phone on the shipped spreadsheet forms, from
// the details stored once for every workstation. Only a cell that still
// holds the form's blank is written: a header the shop typed into its form
// by hand is kept.
#include <QList>
#include <QPair>
#include <QString>

namespace office {
class Workbook;
}

namespace app {

struct ShopDetails;

// The texts the header cells get: "<name>" and "Адрес: <address>   Тел.: <phone>".
QString formShopName(const ShopDetails& shop);
QString formShopInfo(const ShopDetails& shop);

class FormShopHeader {
public:
    // Fills `nameCell` (and `infoCell`, when given) of the active sheet.
    FormShopHeader(office::Workbook& book, const ShopDetails& shop, const QString& nameCell,
                   const QString& infoCell = QString());
    // The blanks back, and the header again: around saving the form itself,
    // which must keep its blanks for the next details.
    void putBlanksBack();
    void fillAgain();

private:
    office::Workbook& book_;
    QList<QPair<QString, QPair<QString, QString>>> written_;  // cell, (blank, text)
};

}  // namespace app
