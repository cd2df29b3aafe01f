#include "app/FormShopHeader.h"

#include "app/ShopDetails.h"
#include "office/Templates.h"
#include "office/Workbook.h"

namespace app {

QString formShopName(const ShopDetails& shop) { return shop.name.trimmed(); }

QString formShopInfo(const ShopDetails& shop) {
    return QStringLiteral("Адрес: %1   Тел.: %2").arg(shop.address.trimmed(), shop.phone.trimmed());
}

FormShopHeader::FormShopHeader(office::Workbook& book, const ShopDetails& shop, const QString& nameCell,
                               const QString& infoCell)
    : book_(book) {
    const auto fill = [&](const QString& cell, const char* blank, const QString& text, bool given) {
        if (cell.isEmpty() || !given || book_.cellText(cell) != QString::fromUtf8(blank)) return;
        written_.append({cell, {QString::fromUtf8(blank), text}});
    };
    // A detail left empty keeps its blank, which the clerk fills by hand.
    fill(nameCell, office::ShopBlank, formShopName(shop), !shop.name.trimmed().isEmpty());
    fill(infoCell, office::ShopInfoBlank, formShopInfo(shop),
         !shop.address.trimmed().isEmpty() || !shop.phone.trimmed().isEmpty());
    fillAgain();
}

void FormShopHeader::putBlanksBack() {
    for (const auto& [cell, texts] : written_) book_.setCell(cell, texts.first);
}

void FormShopHeader::fillAgain() {
    for (const auto& [cell, texts] : written_) book_.setCell(cell, texts.second);
}

}  // namespace app
