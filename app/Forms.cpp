#include "app/Forms.h"

#include "about/AboutBox.h"
#include "about/Hst.h"
#include "app/DM.h"
#include "cars/CF2.h"
#include "cars/DC.h"
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
#include "reports/SV.h"

namespace app {

namespace {
QStringList& order() {
    static QStringList o;
    return o;
}

template <class T> void make(T*& instance, QWidget* parent) {
    instance = new T(parent);
    order() << instance->objectName();
}
}  // namespace

void createForms() {
    order().clear();
    // The main window and the car directory come before the data module, so
    // their constructors must not touch it.
    make(MF, nullptr);
    make(DC, MF);
    DM = new TDM;
    order() << DM->objectName();
    make(CF, MF);
    make(CF2, CF);
    make(VR, MF);
    make(CF3, CF);
    make(SP, MF);
    make(CF4, CF);
    make(SM, MF);
    make(SE, MF);
    make(SB, MF);
    make(MH, MF);
    make(SV, MF);
    make(AboutBox, MF);
    make(Hst, MF);
}

void destroyForms() {
    // Children go with the main window; the data module goes last.
    delete MF;
    MF = nullptr;
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
    AboutBox = nullptr;
    Hst = nullptr;
    delete DM;
    DM = nullptr;
}

QStringList creationOrder() { return order(); }

}  // namespace app
