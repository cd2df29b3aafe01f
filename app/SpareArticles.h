#pragma once
// The article number and the maker of a spare part, kept in the catalogue
// (Spares) and copied into a contract's line (CT_Spares) from schema step 3
// on. An older database has neither column: the fields are hidden there and
// the fixed statements of the data module, which know nothing of them, are
// used unchanged.
#include <QString>

namespace fb { class Query; }

namespace app {

constexpr int kArticleLength = 40;  // Spares.art, CT_Spares.art
constexpr int kMakerLength = 60;    // Spares.maker, CT_Spares.maker

// Whether the attached database has the two columns.
bool hasSpareArticles();

// Binds :art and :maker; an empty text is stored as NULL. Text that
// Windows-1251 cannot hold is refused here, before anything is written.
void bindArticle(fb::Query& q, const QString& art, const QString& maker);

}  // namespace app
