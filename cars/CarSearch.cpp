#include "cars/CarSearch.h"

#include "app/DM.h"
#include "widgets/UpperEdit.h"

#include <QRegularExpression>

namespace cars {

namespace {

// Values are compared in capitals; a missing part counts as empty, so that a
// car without a region is still found by its number. The parameters are cast
// to one length that any pattern of the search field fits.
const char* const kSearch =
    "SELECT * FROM Cars WHERE "
    "(UPPER(COALESCE(gnum, '') || ' ' || COALESCE(region, '')) LIKE CAST(:find AS VARCHAR(200)) ESCAPE '\\') "
    "or (UPPER(COALESCE(gnum, '') || COALESCE(region, '')) LIKE CAST(:find AS VARCHAR(200)) ESCAPE '\\') "
    "or (UPPER(owner) LIKE CAST(:find AS VARCHAR(200)) ESCAPE '\\') "
    "or (UPPER(vin) LIKE CAST(:find AS VARCHAR(200)) ESCAPE '\\') "
    "or (UPPER(COALESCE(dev, '') || ' ' || COALESCE(mod, '')) LIKE CAST(:find AS VARCHAR(200)) ESCAPE '\\') "
    "or (REPLACE(REPLACE(REPLACE(REPLACE(REPLACE(phone, ' ', ''), '+', ''), '-', ''), '(', ''), ')', '') "
    "LIKE CAST(:phone AS VARCHAR(200)) ESCAPE '\\') "
    "ORDER BY dev, mod";

}  // namespace

QString containsPattern(const QString& text) {
    QString p;
    p.reserve(text.size() * 2 + 2);
    p += u'%';
    for (QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\') p += u'\\';
        p += c;
    }
    p += u'%';
    return p;
}

QString phoneText(const QString& text) {
    QString t = text;
    t.remove(QRegularExpression(QStringLiteral("[ +()\\-]")));
    return t;
}

fb::Query& carListQuery(const QString& search) {
    const QString text = widgets::upperChars(search.trimmed());
    if (text.isEmpty()) {
        DM->iCar.close();
        return DM->iCar;
    }
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QString::fromLatin1(kSearch));
    q.setString(QStringLiteral("find"), containsPattern(text));
    // A text of blanks and signs alone is no phone number: it finds no phone.
    const QString phone = phoneText(text);
    if (phone.isEmpty())
        q.setNull(QStringLiteral("phone"));
    else
        q.setString(QStringLiteral("phone"), containsPattern(phone));
    return q;
}

}  // namespace cars
