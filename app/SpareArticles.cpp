#include "app/SpareArticles.h"

#include "app/DM.h"
#include "app/SchemaUpgrade.h"

namespace app {

bool hasSpareArticles() { return hasSchema(3); }

void bindArticle(fb::Query& q, const QString& art, const QString& maker) {
    const auto bind = [&q](const QString& param, const QString& text) {
        if (text.isEmpty())
            q.setNull(param);
        else
            q.setString(param, text);
    };
    bind(QStringLiteral("art"), art);
    bind(QStringLiteral("maker"), maker);
}

}  // namespace app

// The spare statements that also carry the article and the maker; used
// only when the database has them (app::hasSpareArticles).
void TDM::prepareArticleStatements() {
    iSp_fArt.setSQL({QStringLiteral("SELECT * FROM Spares "),
                     QStringLiteral("WHERE (name LIKE :name) OR (art LIKE :art) ORDER BY name")});
    iSP_InsArt.setSQL({QStringLiteral("INSERT INTO Spares (name, price, sysinfo, art, maker) "
                                      "VALUES (:name, :price, :sysinfo, :art, :maker)")});
    iSp_UpdArt.setSQL({QStringLiteral("UPDATE Spares "), QStringLiteral("SET "), QStringLiteral("    name = :name,"),
                       QStringLiteral("    price = :price,"), QStringLiteral("    art = :art,"),
                       QStringLiteral("    maker = :maker"), QStringLiteral("WHERE pk_id = :pk_id")});
    iSP2_insArt.setSQL({QStringLiteral("INSERT INTO CT_Spares (ct_fk, name, price, num, art, maker) "
                                       "VALUES (:ct_fk, :name, :price, :num, :art, :maker)")});
}
