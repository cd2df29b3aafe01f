#include "app/ShopDetails.h"

#include "app/DM.h"
#include "app/SchemaUpgrade.h"
#include "app/Settings.h"
#include "fb/Cp1251.h"
#include "fb/Transaction.h"
#include "rtl/Convert.h"
#include "rtl/TaxIds.h"

#include <utility>

namespace app {

namespace {

// Each detail: its setting's name, its name in messages, its member, its
// longest text, and whether a work order needs it.
struct Detail {
    const char* setting;
    const char* title;
    QString ShopDetails::*member;
    int maxLength;
    bool needed;
};

const Detail kDetails[] = {
    {"shop_name", "наименование", &ShopDetails::name, 150, true},
    {"shop_form", "организационно-правовая форма", &ShopDetails::form, 60, true},
    {"shop_inn", "ИНН", &ShopDetails::inn, 12, true},
    {"shop_ogrn", "ОГРН/ОГРНИП", &ShopDetails::ogrn, 15, true},
    {"shop_address", "адрес", &ShopDetails::address, 250, true},
    {"shop_phone", "телефон", &ShopDetails::phone, 60, true},
    {"shop_email", "электронная почта", &ShopDetails::email, 100, false},
    {"shop_bank", "банковские реквизиты", &ShopDetails::bank, 500, false},
    {"shop_taker_position", "должность принимающего заказы", &ShopDetails::takerPosition, 100, false},
    {"shop_taker_name", "принимающий заказы", &ShopDetails::takerName, 100, false},
    {"shop_warranty", "гарантийные обязательства", &ShopDetails::warranty, 4000, true},
    {"shop_terms", "порядок оплаты", &ShopDetails::terms, 4000, true},
};

QString digitsOnly(const QString& s) { return s.trimmed(); }

}  // namespace

QString ShopDetails::ogrnLabel() const {
    return digitsOnly(ogrn).size() == 15 ? QStringLiteral("ОГРНИП") : QStringLiteral("ОГРН");
}

QString ShopDetails::headLine() const {
    QString line = name.trimmed();
    if (!address.trimmed().isEmpty()) line += (line.isEmpty() ? QString() : QStringLiteral(", ")) + address.trimmed();
    return line;
}

ShopDetails shopDetails() {
    ShopDetails d;
    if (!hasSchema(1)) return d;
    for (const Detail& x : kDetails) d.*x.member = setting(QString::fromLatin1(x.setting));
    return d;
}

QString shopDetailsError(const ShopDetails& d) {
    for (const Detail& x : kDetails) {
        const QString& v = d.*x.member;
        const QString title = QString::fromUtf8(x.title);
        char32_t bad = 0;
        if (!fb::fitsCp1251(v, &bad))
            return QStringLiteral("Поле «%1»: символ «%2» не может быть сохранён в базе данных")
                .arg(title, QString::fromUcs4(&bad, 1));
        if (v.size() > x.maxLength)
            return QStringLiteral("Поле «%1»: не более %2 символов").arg(title).arg(x.maxLength);
    }
    const QString inn = digitsOnly(d.inn), ogrn = digitsOnly(d.ogrn);
    if (!inn.isEmpty()) {
        const QString why = rtl::innError(inn);
        if (!why.isEmpty()) return QStringLiteral("ИНН: ") + why;
    }
    if (!ogrn.isEmpty()) {
        const QString why = ogrn.size() == 15 ? rtl::ogrnipError(ogrn)
                            : ogrn.size() == 13 ? rtl::ogrnError(ogrn)
                                                : QStringLiteral("ОГРН состоит из 13 цифр, ОГРНИП — из 15");
        if (!why.isEmpty()) return QStringLiteral("ОГРН/ОГРНИП: ") + why;
    }
    // A sole trader (ОГРНИП) has a 12-digit ИНН, an organisation a 10-digit one.
    if (inn.size() >= 10 && ogrn.size() >= 13 && (inn.size() == 12) != (ogrn.size() == 15))
        return inn.size() == 12 ? QStringLiteral("ОГРН/ОГРНИП: у предпринимателя (ИНН из 12 цифр) ОГРНИП из 15 цифр")
                                : QStringLiteral("ОГРН/ОГРНИП: у организации (ИНН из 10 цифр) ОГРН из 13 цифр");
    return QString();
}

void storeShopDetails(const ShopDetails& d) {
    const QString why = shopDetailsError(d);
    if (!why.isEmpty()) throw rtl::ConvertError(why);
    fb::WriteUnit unit(DM->IBTrans);
    for (const Detail& x : kDetails) storeSetting(QString::fromLatin1(x.setting), (d.*x.member).trimmed());
    unit.commit();
}

QStringList missingShopDetails(const ShopDetails& d) {
    QStringList missing;
    for (const Detail& x : kDetails)
        if (x.needed && (d.*x.member).trimmed().isEmpty()) missing << QString::fromUtf8(x.title);
    return missing;
}

}  // namespace app
