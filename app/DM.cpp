#include "app/DM.h"

#include "widgets/Doing.h"

TDM* DM = nullptr;

TDM::TDM(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DM"));
    // Dialect 3, no idle timer: the connection stays for the run. The login
    // is the user's (app/Connect.cpp), never one built in.
    IBDbase.dialect = 3;

    iDoc.setSQL({QStringLiteral("SELECT * FROM Contracts ct "), QStringLiteral("INNER JOIN Cars cr "),
                 QStringLiteral("ON ct.cr_fk = cr.pk_id "),
                 QStringLiteral("WHERE (dev LIKE :dev) and (mod LIKE  :mod) and (gnum LIKE :gnum)"),
                 QStringLiteral("and (region LIKE :region) and (vin LIKE :vin) and (engine LIKE :engine) and "
                                "(body LIKE :body) and (engine2 LIKE :engine2) and (body2 LIKE :body2) and "
                                "(c_date BETWEEN :d1 AND :d2) ORDER BY Num")});
    iDoc_Ins.setSQL({QStringLiteral("INSERT INTO Contracts"), QStringLiteral("(c_date, meh, rem, cr_fk, sysinfo) VALUES "),
                     QStringLiteral("(:c_date, :meh, :rem, :cr_fk, :sysinfo)")});
    iDoc_Upd.setSQL({QStringLiteral("UPDATE  Contracts "), QStringLiteral("SET "), QStringLiteral("   cr_fk = :cr_fk,"),
                     QStringLiteral("   c_date = :c_date,"), QStringLiteral("   meh = :meh,"),
                     QStringLiteral("   rem  = :rem,"), QStringLiteral("   num = :num"),
                     QStringLiteral("WHERE pk_id = :pk_id")});
    iCar.setSQL({QStringLiteral("SELECT * FROM Cars ORDER BY dev, mod")});
    iCar_f.setSQL({QStringLiteral("SELECT * FROM Cars "),
                   QStringLiteral("WHERE (dev LIKE :dev) and (mod LIKE  :mod) and (gnum LIKE :gnum)"),
                   QStringLiteral("and (region LIKE :region) and (d_year LIKE :d_year) and (vin LIKE :vin) and "
                                  "(color LIKE :color) and (engine LIKE :engine) and (engine2 LIKE :engine2) and "
                                  "(body LIKE :body) and (body2 LIKE :body2) and (owner LIKE :owner) and "
                                  "(phone LIKE :phone)"),
                   QStringLiteral("ORDER BY dev, mod")});
    iCar_Ins.setSQL({QStringLiteral("INSERT INTO Cars"),
                     QStringLiteral("(dev, mod, gnum, region, d_year, vin, color, engine, engine2, body, body2, km, "
                                    "owner, phone, sysinfo) VALUES "),
                     QStringLiteral("(:dev, :mod, :gnum, :region, :d_year, :vin, :color, :engine, :engine2, :body, "
                                    ":body2,  :km, :owner, :phone, :sysinfo)")});
    iCar_Upd.setSQL({QStringLiteral("UPDATE  Cars "), QStringLiteral("SET "), QStringLiteral("    dev = :dev,"),
                     QStringLiteral("    mod = :mod,"), QStringLiteral("    gnum = :gnum,"),
                     QStringLiteral("    region = :region,"), QStringLiteral("    d_year = :d_year,"),
                     QStringLiteral("    vin = :vin,"), QStringLiteral("    color = :color,"),
                     QStringLiteral("    engine = :engine,"), QStringLiteral("    engine2 = :engine2,"),
                     QStringLiteral("    body = :body,"), QStringLiteral("    body2 = :body2,"),
                     QStringLiteral("    km = :km,"), QStringLiteral("    owner = :owner,"),
                     QStringLiteral("    phone = :phone"), QStringLiteral("WHERE pk_id = :pk_id")});
    iWork.setSQL({QStringLiteral("SELECT * FROM Works ORDER BY name")});
    iWork_f.setSQL({QStringLiteral("SELECT * FROM Works "), QStringLiteral("WHERE (name LIKE :name) ORDER BY name")});
    iWork_Ins.setSQL({QStringLiteral("INSERT INTO Works (name, price, sysinfo) VALUES (:name, :price, :sysinfo)")});
    iWork_Upd.setSQL({QStringLiteral("UPDATE  Works "), QStringLiteral("SET "), QStringLiteral("    name = :name,"),
                      QStringLiteral("    price = :price"), QStringLiteral("WHERE pk_id = :pk_id")});
    iWork2_Ins.setSQL({QStringLiteral("INSERT INTO CT_Works (ct_fk, name, price) VALUES (:ct_fk, :name, :price)")});
    iWork2_Del.setSQL({QStringLiteral("DELETE FROM CT_Works WHERE pk_id = :pk_id")});
    iSP.setSQL({QStringLiteral("SELECT * FROM Spares ORDER BY name")});
    iSp_f.setSQL({QStringLiteral("SELECT * FROM Spares "), QStringLiteral("WHERE (name LIKE :name) ORDER BY name")});
    iSP_Ins.setSQL({QStringLiteral("INSERT INTO Spares (name, price, sysinfo) VALUES (:name, :price, :sysinfo)")});
    iSp_Upd.setSQL({QStringLiteral("UPDATE Spares "), QStringLiteral("SET "), QStringLiteral("    name = :name,"),
                    QStringLiteral("    price = :price"), QStringLiteral("WHERE pk_id = :pk_id")});
    iSP2_ins.setSQL({QStringLiteral("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (:ct_fk, :name, :price, :num)")});
    iSP2_del.setSQL({QStringLiteral("DELETE FROM CT_Spares WHERE pk_id = :pk_id")});
    prepareArticleStatements();
}

void TDM::execCommit(fb::Query& q) {
    // The window's own words, where it names its action, come first.
    const widgets::Doing doing(QStringLiteral("Не удалось сохранить запись"),
                               QStringLiteral("Запись не сохранена — сохраните ещё раз."));
    try {
        q.execSQL();
    } catch (...) {
        // A refused write alone: nothing of it stays, and no read-write
        // transaction stays open behind it. Inside a write unit the unit
        // decides (it rolls back as the error leaves it).
        // The refusal is what the clerk needs to read, not a failed rollback.
        if (!IBTrans.inUnit()) {
            try {
                IBTrans.rollback();
            } catch (...) {
            }
        }
        throw;
    }
    IBTrans.commit();
}

void TDM::reset(fb::Query& q, const QString& line) {
    q.close();
    q.clearSQL();
    q.addSQL(line);
}
