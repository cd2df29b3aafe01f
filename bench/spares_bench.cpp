// The spare picker's cases of torquil-bench: its list refilled for a typed
// name and for a typed article number (the name or the article matched),
// beside the fixed statement that matches the name alone, as the picker runs
// it on a database without articles.
#include "app/DM.h"
#include "app/Lookup.h"
#include "app/SchemaUpgrade.h"
#include "app/SpareArticles.h"
#include "contracts/CF4.h"
#include "fb/Query.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        f();
        ms.push_back(e.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The engine's bare fetch of a filter statement for the typed text.
double engineMs(int runs, const fb::Query& statement, const QString& text, bool article) {
    fb::Query q(&DM->IBDbase, &DM->IBTrans);
    q.setSQL(statement.sql());
    return medianMs(runs, [&] {
        q.close();
        app::bindPrefix(q, QStringLiteral("name"), text, CF4->kind().nameLength);
        if (article) app::bindPrefix(q, QStringLiteral("art"), text, app::kArticleLength);
        q.open();
    });
}

void line(const char* name, double app, double engine, int rows) {
    std::printf("%s app_ms=%.2f engine_ms=%.2f ratio=%.2f rows=%d\n", name, app, engine,
                engine > 0 ? app / engine : 0.0, rows);
    std::fflush(stdout);
}

// The picker refilled for `text`: its own figure and the engine's.
void picker(int runs, const char* name, const QString& text) {
    CF4->Box1->setText(text);
    const bool article = app::hasSpareArticles();
    const double a = medianMs(runs, [] { CF4->FillList(); });
    const double e = engineMs(runs, article ? DM->iSp_fArt : DM->iSp_f, text, article);
    line(name, a, e, CF4->Grid_sp->rowCount() - 1);
}

// Parts without an article number get one, so that a database given with
// --db is searched the same way.
void giveArticles() {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("UPDATE Spares SET art = '2190-' || (10000 + MOD(pk_id * 7919, 90000)), "
                                 "maker = 'LADA' WHERE art IS NULL"));
    DM->execCommit(q);
}

}  // namespace

void benchSpares(int runs, const std::function<bool(const char*)>& wanted) {
    if (!app::hasSpareArticles()) {
        if (wanted("spares_key")) picker(runs, "spares_key", QStringLiteral("С"));
        return;
    }
    giveArticles();
    // The picker as it runs on a database without articles: the name alone.
    const int version = app::databaseSchema();
    app::setDatabaseSchema(2);
    CF4->FormActivate();
    if (wanted("spares_key_name_only")) picker(runs, "spares_key_name_only", QStringLiteral("С"));
    app::setDatabaseSchema(version);
    CF4->FormActivate();
    if (wanted("spares_key")) picker(runs, "spares_key", QStringLiteral("С"));
    if (wanted("spares_art")) picker(runs, "spares_art", QStringLiteral("2190-12"));
    CF4->Box1->setText(QString());
}
