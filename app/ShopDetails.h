#pragma once
// The shop's details as its documents print them (a work order, an act, the
// card's and the summary's heads): entered once in the window of the
// shop's details and kept in Settings, so every workstation prints the same.
#include <QString>
#include <QStringList>

namespace app {

struct ShopDetails {
    QString name;           // "ООО «Торквиль»"
    QString form;           // legal form: "ООО", "ИП" ...
    QString inn;            // 10 digits (organisation) or 12 (sole trader)
    QString ogrn;           // ОГРН (13 digits) or ОГРНИП (15)
    QString address;
    QString phone;
    QString email;
    QString bank;           // bank details, optional
    QString takerPosition;  // who takes orders: position ...
    QString takerName;      // ... and name
    QString warranty;       // the warranty terms
    QString terms;          // the payment terms

    // "ОГРН" or "ОГРНИП" by the number's length (a sole trader's is 15 digits).
    QString ogrnLabel() const;
    // The name and the address in one line: the running head of a document.
    QString headLine() const;
};

// The details stored (empty texts where none are); on a database without
// Settings all are empty.
ShopDetails shopDetails();

// The first refusal for the details, naming the field ("ИНН: неверное
// контрольное число ИНН"); empty when they may be stored. Empty numbers are
// allowed (the documents leave a line for them), wrong ones are not.
QString shopDetailsError(const ShopDetails& details);

// Checks the details, then stores every one of them in one transaction.
// Throws rtl::ConvertError with shopDetailsError's text before anything is
// written.
void storeShopDetails(const ShopDetails& details);

// The names of the details a work order needs that are empty, in the order
// the document prints them ("наименование", "ИНН", ...).
QStringList missingShopDetails(const ShopDetails& details);

}  // namespace app
