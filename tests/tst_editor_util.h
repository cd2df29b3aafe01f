#pragma once
// The contract editor's tests: a database with two mechanics and two cars,
// the whole set of windows, and the hand-overs of the main window and the
// pickers played by the tests.
#include "app/DM.h"
#include "program/Windows.h"
#include "cars/CF2.h"
#include "contracts/CF.h"
#include "contracts/CF3.h"
#include "app/ContractLines.h"
#include "contracts/MF.h"
#include "fb/Cp1251.h"
#include "rtl/Convert.h"
#include "support/Handlers.h"
#include "support/Cars.h"
#include "support/TestDb.h"
#include "widgets/Activation.h"
#include "widgets/ButtonKeys.h"
#include "widgets/DateEdit.h"
#include "widgets/Focus.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"
#include "support/Modal.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace editortest {

using support::count;
using support::lastKey;

inline QString s(const char* utf8) { return QString::fromUtf8(utf8); }

inline int addCar(const QString& dev, const QString& mod, const QString& gnum) {
    return support::addCar({{"dev", dev}, {"mod", mod}, {"gnum", gnum}, {"d_year", 2012}, {"vin", "XTA21"},
                            {"color", "СИНИЙ"}, {"engine2", "1.6 8V"}, {"body2", "4 ДВЕРИ"}, {"km", 123456},
                            {"owner", "ПЕТРОВ П.П."}, {"phone", "8-900-1"}});
}

inline int addContract(int car, const QString& date, const QString& meh, const QString& rem) {
    support::exec(QString("INSERT INTO Contracts (c_date, meh, rem, cr_fk, sysinfo) VALUES ('%1', '%2', '%3', %4, "
                          "'x')")
                      .arg(date, meh, rem)
                      .arg(car));
    return lastKey("Contracts");
}

inline void addWork(int ct, const QString& name, const QString& price) {
    support::exec(QString("INSERT INTO CT_Works (ct_fk, name, price) VALUES (%1, '%2', %3)").arg(ct).arg(name, price));
}

inline void addSpare(int ct, const QString& name, const QString& price, int num) {
    support::exec(QString("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (%1, '%2', %3, %4)")
                      .arg(ct)
                      .arg(name, price)
                      .arg(num));
}

inline QStringList column(const widgets::StringGrid* grid, int col) {
    QStringList cells;
    for (int r = 1; r < grid->rowCount(); ++r) cells << grid->cell(col, r);
    return cells;
}

// The journal row the main window opens the editor on.
inline void selectInJournal(int key) {
    MF->Grid_doc->setRowCount(2);
    MF->Grid_doc->setCell(0, 1, QString::number(key));
    MF->Grid_doc->setCell(1, 1, "  " + QString::number(key));
    MF->Grid_doc->setCurrentRow(1);
}

inline void openNew() { MF->ToolButton2Click(); }
inline void openView(int key) {
    selectInJournal(key);
    MF->ToolButton6Click();
}
inline void openEdit(int key) {
    selectInJournal(key);
    MF->ToolButton4Click();
}

// What the car picker writes into the editor when a car is taken, and the
// visit's mileage typed as the car's.
inline void pickCar(int car) {
    fb::Query& q = DM->iSQL2;
    TDM::reset(q, "SELECT * FROM Cars WHERE pk_id = " + QString::number(car));
    q.open();
    const std::pair<const char*, widgets::UpperCombo*> boxes[] = {
        {"dev", CF->Box1},     {"mod", CF->Box2},     {"gnum", CF->Box3},    {"region", CF->Box4},
        {"d_year", CF->Box5},  {"vin", CF->Box6},     {"color", CF->Box7},   {"engine", CF->Box8},
        {"engine2", CF->Box81}, {"body", CF->Box9},   {"body2", CF->Box91},  {"owner", CF->Box10},
        {"phone", CF->Box11}};
    for (const auto& [col, box] : boxes) box->setText(q.field(col).asString());
    CF->Edit1->setText(q.field("km").asString());
    CF->EditKm->setText(q.field("km").asString());  // and the clerk reads the odometer: no question
    if (CF->Car_id->text() != QString::number(car)) CF->ToolButton8->setEnabled(true);
    CF->Car_id->setText(QString::number(car));
    q.close();
}

using support::errorOf;

inline QString save() { return errorOf([] { CF->ToolButton8Click(); }); }

using support::whenModalRuns;

// Everything the editor shows and the state it is in.
inline QString editorState() {
    QStringList parts{CF->Edit0->text(), CF->MaskEdit1->text(), CF->Box0->text(), CF->Memo1->toPlainText(),
                      CF->Car_id->text(), CF->Box1->text(), CF->Box3->text(), CF->Label17->text(),
                      QString::number(CF->DocId), QString::number(CF->NewDoc), QString::number(CF->EditDoc),
                      QString::number(CF->ToolButton8->isEnabled())};
    for (const widgets::StringGrid* grid : {CF->Grid_work, CF->grid_sp})
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->colCount(); ++c) parts << grid->cell(c, r);
    return parts.join(u'|');
}

inline bool groupsEnabled() {
    return CF->GP1->isEnabled() && CF->BitBtn1->isEnabled() && CF->GP3->isEnabled() && CF->GP4->isEnabled();
}
inline bool groupsDisabled() {
    return !CF->GP1->isEnabled() && !CF->BitBtn1->isEnabled() && !CF->GP3->isEnabled() && !CF->GP4->isEnabled();
}

// The windows on a new database with two mechanics and two cars.
inline void openWindowsWithCars(const QTemporaryDir& dir, int& car1, int& car2) {
    support::openWindows(dir);
    support::exec(s("INSERT INTO meh (name) VALUES ('СИДОРОВ')"));
    support::exec(s("INSERT INTO meh (name) VALUES ('ИВАНОВ')"));
    car1 = addCar(s("ВАЗ"), s("2107"), s("А123ВС"));
    car2 = addCar(s("ГАЗ"), s("3110"), s("К777КК"));
}

inline void deleteContracts() {
    for (const char* table : {"CT_Works", "CT_Spares", "Contracts"}) support::exec(QString("DELETE FROM ") + table);
}

}  // namespace editortest

using namespace editortest;

