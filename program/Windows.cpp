#include "program/Windows.h"

#include "about/AboutBox.h"
#include "about/Hst.h"
#include "app/DM.h"
#include "app/MainWindow.h"
#include "app/ErrorWords.h"
#include "cars/CF2.h"
#include "cars/DC.h"
#include "cars/HS.h"
#include "catalogues/MH.h"
#include "catalogues/SB.h"
#include "catalogues/SE.h"
#include "catalogues/SM.h"
#include "catalogues/SP.h"
#include "catalogues/VR.h"
#include "contracts/CF.h"
#include "contracts/CF3.h"
#include "contracts/CF4.h"
#include "contracts/MF.h"
#include "contracts/PY.h"
#include "reports/DL.h"
#include "reports/KS.h"
#include "reports/NR.h"
#include "reports/MW.h"
#include "reports/RV.h"
#include "contracts/RQ.h"
#include "reports/SV.h"
#include "app/Login.h"
#include "users/AU.h"
#include "users/LG.h"
#include "users/US.h"

namespace program {

namespace {
QStringList& order() {
    static QStringList o;
    return o;
}

template <class T> void make(T*& instance, QWidget* parent) {
    instance = new T(parent);
    order() << instance->objectName();
}
// The hand-overs between windows of different folders that may not include
// each other: the chosen car goes to the editor, the history's card is
// printed by the journal.
void wireHandOvers() {
    QObject::connect(CF2, &TCF2::carTaken, CF, &TCF::TakeCar);
    QObject::connect(HS, &THS::cardRequested, MF, &TMF::PrintContractCard);
}
}  // namespace

void createForms() {
    order().clear();
    // Database errors are shown in the clerk's words.
    app::installErrorWords();
    // A server asks who logs in before the program connects.
    app::setLoginPrompt(&TLG::ask);
    // The main window and the car directory come before the data module, so
    // their constructors must not touch it. The windows shown modeless have
    // no parent: the main window is disabled while they are up, and a
    // disabled parent would disable them too.
    make(MF, nullptr);
    app::setMainWindow(MF);
    make(DC, nullptr);
    DM = new TDM;
    order() << DM->objectName();
    make(CF, nullptr);
    make(CF2, CF);
    make(VR, MF);
    make(CF3, CF);
    make(SP, MF);
    make(CF4, CF);
    make(SM, nullptr);
    make(SE, nullptr);
    make(SB, nullptr);
    make(MH, MF);
    make(SV, MF);
    make(NR, MF);
    make(MW, MF);
    make(RV, MF);
    make(AboutBox, MF);
    make(Hst, MF);
    make(RQ, MF);
    make(US, MF);
    make(AU, MF);
    // Modal over the car directory or the contract editor: it takes the
    // window that opens it as its parent then.
    make(HS, nullptr);
    // Payments: taken over the editor; the debtors and the cash over the journal.
    make(PY, CF);
    make(DL, MF);
    make(KS, MF);
    wireHandOvers();
}

void destroyForms() {
    // The modal windows go with their parents; the data module goes last.
    delete HS;
    HS = nullptr;
    delete SB;
    delete SE;
    delete SM;
    delete CF;
    delete DC;
    delete MF;
    MF = nullptr;
    app::setMainWindow(nullptr);
    DC = nullptr;
    CF = nullptr;
    CF2 = nullptr;
    VR = nullptr;
    CF3 = nullptr;
    SP = nullptr;
    CF4 = nullptr;
    SM = nullptr;
    SE = nullptr;
    SB = nullptr;
    MH = nullptr;
    SV = nullptr;
    NR = nullptr;
    MW = nullptr;
    RV = nullptr;
    AboutBox = nullptr;
    Hst = nullptr;
    PY = nullptr;
    DL = nullptr;
    KS = nullptr;
    RQ = nullptr;
    US = nullptr;
    AU = nullptr;
    delete DM;
    DM = nullptr;
}

QStringList creationOrder() { return order(); }

}  // namespace program
