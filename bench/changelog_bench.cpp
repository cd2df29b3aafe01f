// The change log's case of torquil-bench: a new contract of 120 work lines
// saved through the editor as the clerk saves it (save_120_lines_logged),
// and with the editor's statements alone (the contract, its key read back by
// its marker, the lines, one commit: ..._statements), on the benchmark's
// database, with the log's triggers on and off. Target: within 1.5x. The
// saved contracts are deleted again after each round, outside the timing,
// and the triggers are left on.
#include "app/DM.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "app/Login.h"
#include "app/SchemaUpgrade.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "widgets/Messages.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void exec(fb::Connection& db, const QString& sql, int key = 0) {
    fb::Transaction tr(&db);
    fb::Query q(&db, &tr);
    q.setSQL({sql});
    if (key) q.setInteger(QStringLiteral("k"), key);
    q.execSQL();
    tr.commit();
}

void setLog(fb::Connection& db, bool on) {
    const QString state = on ? QStringLiteral(" ACTIVE") : QStringLiteral(" INACTIVE");
    for (const char* t : {"contracts_log", "ct_works_log"})
        exec(db, QStringLiteral("ALTER TRIGGER ") + QLatin1String(t) + state);
}

// Saves one contract of 120 lines; returns its key.
int save(fb::Connection& db, int car, int run) {
    fb::Transaction tr(&db);
    fb::Query doc(&db, &tr), key(&db, &tr), line(&db, &tr);
    doc.setSQL({QStringLiteral("INSERT INTO Contracts (c_date, meh, rem, cr_fk, sysinfo)"),
                QStringLiteral("VALUES (CURRENT_DATE, :meh, :rem, :cr_fk, :sysinfo)")});
    key.setSQL({QStringLiteral("SELECT pk_id FROM Contracts WHERE sysinfo = :sysinfo")});
    line.setSQL({QStringLiteral("INSERT INTO CT_Works (ct_fk, name, price) VALUES (:ct_fk, :name, :price)")});
    const QString marker = QStringLiteral("bench-log-%1").arg(run);
    doc.setString(QStringLiteral("meh"), QStringLiteral("ИВАНОВ"));
    doc.setString(QStringLiteral("rem"), QStringLiteral("Стучит подвеска спереди"));
    doc.setInteger(QStringLiteral("cr_fk"), car);
    doc.setString(QStringLiteral("sysinfo"), marker);
    doc.execSQL();
    key.setString(QStringLiteral("sysinfo"), marker);
    key.open();
    const int ct = key.field(0).asInteger();
    key.close();
    for (int n = 0; n < 120; ++n) {
        line.setInteger(QStringLiteral("ct_fk"), ct);
        line.setString(QStringLiteral("name"), QStringLiteral("Замена втулки стабилизатора, позиция %1").arg(n));
        line.setFloat(QStringLiteral("price"), 100 + n);
        line.execSQL();
    }
    tr.commit();
    return ct;
}

// The same contract saved through the editor, as the clerk saves it (the
// checks, the statements, the commit and the contract read back); returns
// its key and the milliseconds of the save.
std::pair<int, double> editorSave(int car, const QString& carKm) {
    const widgets::MessageRecorder quiet(true);
    MF->ToolButton2Click();
    CF->Box0->setText(QStringLiteral("ИВАНОВ"));
    CF->Memo1->setPlainText(QStringLiteral("Стучит подвеска спереди"));
    CF->Car_id->setText(QString::number(car));
    CF->Edit1->setText(carKm);
    CF->EditKm->setText(carKm);
    for (int n = 0; n < 120; ++n)
        CF->AppendWork(QStringLiteral("ЗАМЕНА ВТУЛКИ СТАБИЛИЗАТОРА, ПОЗИЦИЯ %1").arg(n), QString::number(100 + n));
    QElapsedTimer e;
    e.start();
    CF->ToolButton8Click();
    const double ms = e.nsecsElapsed() / 1e6;
    const int key = CF->DocId;
    CF->ToolButton14Click();
    return {key, ms};
}

void drop(fb::Connection& db, int ct) {
    exec(db, QStringLiteral("DELETE FROM CT_Works WHERE ct_fk = :k"), ct);
    exec(db, QStringLiteral("DELETE FROM Contracts WHERE pk_id = :k"), ct);
}

}  // namespace

void benchChangeLog(int runs) {
    if (!app::hasSchema(app::kRolesStep)) {
        std::printf("save_120_lines_logged skipped: the database has no change log\n");
        return;
    }
    fb::Connection& db = DM->IBDbase;
    DM->IBTrans.commit();
    int car = 0;
    {
        fb::Transaction tr(&db);
        fb::Query q(&db, &tr);
        q.setSQL({QStringLiteral("SELECT MIN(pk_id) FROM Cars")});
        q.open();
        car = q.field(0).asInteger();
        q.close();
        tr.commit();
    }
    const QString carKm = [&] {
        fb::Transaction tr(&db);
        fb::Query q(&db, &tr);
        q.setSQL({QStringLiteral("SELECT COALESCE(km, 0) FROM Cars WHERE pk_id = :k")});
        q.setInteger(QStringLiteral("k"), car);
        q.open();
        const QString km = q.field(0).asString();
        q.close();
        tr.commit();
        return km;
    }();
    // [on][statements, editor]
    std::vector<double> ms[2][2];
    int run = 0;
    try {
        // On and off in turn at every round (which goes first alternates), so
        // that both see the same state of the machine and of the log's pages;
        // after each switch one untimed save loads the triggers.
        for (int round = 0; round < 4 * std::max(runs, 3); ++round) {
            std::vector<int> saved;
            for (const bool on : {round % 2 == 0, round % 2 != 0}) {
                setLog(db, on);
                saved.push_back(save(db, car, ++run));
                QElapsedTimer e;
                e.start();
                saved.push_back(save(db, car, ++run));
                ms[on][0].push_back(e.nsecsElapsed() / 1e6);
                const auto [key, editorMs] = editorSave(car, carKm);
                saved.push_back(key);
                ms[on][1].push_back(editorMs);
            }
            for (const int ct : saved) drop(db, ct);
        }
    } catch (...) {
        setLog(db, true);
        throw;
    }
    setLog(db, true);
    const char* names[2] = {"save_120_lines_logged_statements", "save_120_lines_logged"};
    for (int k = 0; k < 2; ++k) {
        for (auto& v : ms) std::sort(v[k].begin(), v[k].end());
        const double logged = ms[1][k][ms[1][k].size() / 2], unlogged = ms[0][k][ms[0][k].size() / 2];
        std::printf("%s app_ms=%.2f unlogged_ms=%.2f ratio=%.2f limit_ratio=1.5\n", names[k], logged, unlogged,
                    unlogged > 0 ? logged / unlogged : 0.0);
    }
    std::fflush(stdout);
}
