#pragma once
// The data module: the one connection, the one transaction and every fixed
// statement of the program.
#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Transaction.h"

#include <QObject>

class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);

    fb::Connection IBDbase;
    fb::Transaction IBTrans{&IBDbase};

    fb::Query iSQL{&IBDbase, &IBTrans};
    fb::Query iSQL2{&IBDbase, &IBTrans};

    fb::Query iDoc{&IBDbase, &IBTrans};
    fb::Query iDoc_Ins{&IBDbase, &IBTrans};
    fb::Query iDoc_Upd{&IBDbase, &IBTrans};
    fb::Query iCar{&IBDbase, &IBTrans};
    fb::Query iCar_f{&IBDbase, &IBTrans};
    fb::Query iCar_Ins{&IBDbase, &IBTrans};
    fb::Query iCar_Upd{&IBDbase, &IBTrans};
    fb::Query iWork{&IBDbase, &IBTrans};
    fb::Query iWork_f{&IBDbase, &IBTrans};
    fb::Query iWork_Ins{&IBDbase, &IBTrans};
    fb::Query iWork_Upd{&IBDbase, &IBTrans};
    fb::Query iWork2_Ins{&IBDbase, &IBTrans};
    fb::Query iWork2_Del{&IBDbase, &IBTrans};
    fb::Query iSP{&IBDbase, &IBTrans};
    fb::Query iSp_f{&IBDbase, &IBTrans};
    fb::Query iSP_Ins{&IBDbase, &IBTrans};
    fb::Query iSp_Upd{&IBDbase, &IBTrans};
    fb::Query iSP2_ins{&IBDbase, &IBTrans};
    fb::Query iSP2_del{&IBDbase, &IBTrans};
    // The same spare statements with the article and the maker (app/SpareArticles).
    fb::Query iSp_fArt{&IBDbase, &IBTrans};
    fb::Query iSP_InsArt{&IBDbase, &IBTrans};
    fb::Query iSp_UpdArt{&IBDbase, &IBTrans};
    fb::Query iSP2_insArt{&IBDbase, &IBTrans};

    // Runs a statement that changes data and commits at once, as every
    // write of the program does; a refused one is rolled back.
    void execCommit(fb::Query& q);
    // Replaces the text of a scratch statement (iSQL, iSQL2) with one line.
    static void reset(fb::Query& q, const QString& line);

private:
    void prepareArticleStatements();
};

extern TDM* DM;
