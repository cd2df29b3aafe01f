#pragma once
// Shared by the printout tests: a program folder with the generated forms, a
// real database under the whole form set, a recording viewer, and contracts
// with their cars and lines.
#include "program/Windows.h"
#include "rtl/ProgramFolder.h"
#include "contracts/MF.h"
#include "office/Viewer.h"
#include "support/Cars.h"
#include "support/TestDb.h"
#include "widgets/Activation.h"

#include "office/Package.h"

#include <QDate>
#include <QRegularExpression>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace reportstest {

class Fixture {
public:
    QTemporaryDir* dir = nullptr;
    office::RecordingViewer viewer;

    void setUp() {
        dir = new QTemporaryDir;
        QDir().mkpath(dir->filePath("Forms"));
        for (const QString file : {"print.xlsx", "svod.xlsx"}) {
            const QString source = QStringLiteral(TORQUIL_BINARY_DIR "/Forms/") + file;
            if (!QFile::copy(source, formPath(file)))
                qFatal("missing %s: build the target torquil-forms first", qPrintable(source));
            QFile(formPath(file)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        rtl::setProgramFolder(dir->path());
        office::setOutputDir(outDir());
        viewer = office::RecordingViewer();
        office::setViewer(&viewer);
        widgets::Activation::instance().reset();
        program::createForms();
        MF->FirstActivation = false;
        support::connectDataModule(support::makeDatabase(*dir));
    }

    void tearDown() {
        program::destroyForms();
        office::setViewer(nullptr);
        office::setOutputDir(QString());
        rtl::setProgramFolder(QString());
        delete dir;
        dir = nullptr;
    }

    QString formPath(const QString& file) const { return dir->filePath("Forms/" + file); }
    QString outDir() const { return dir->filePath("out"); }
    // The files written to be shown.
    QStringList written() const { return QDir(outDir()).entryList({"*.xlsx"}, QDir::Files, QDir::Name); }
};

inline QString sqlDate(const QDate& d) { return "'" + d.toString("yyyy-MM-dd") + "'"; }
inline QString last(const QString& table) { return QString::number(support::lastKey(table)); }

// A car with every column filled; returns its key.
inline QString addCar(const QString& dev, const QString& mod, const QString& owner = "ПЕТРОВ П.П.",
                      const QString& phone = "8-900-111-22-33") {
    return QString::number(support::addCar({{"dev", dev}, {"mod", mod}, {"gnum", "А123ВС"},
                                            {"vin", "XTA21070051234567"}, {"body2", "4 ДВЕРИ"}, {"km", 123000},
                                            {"owner", owner}, {"phone", phone}}));
}

// A contract; num is left to the database when 0.
inline QString addContract(const QString& car, const QDate& date, int num = 0, const QString& rem = "") {
    support::exec(QString("INSERT INTO Contracts (num, c_date, meh, rem, cr_fk) VALUES (%1, %2, 'СИДОРОВ', '%3', %4)")
                      .arg(num ? QString::number(num) : QString("NULL"), sqlDate(date), rem, car));
    return last("Contracts");
}

inline void addWork(const QString& contract, const QString& name, const QString& price) {
    support::exec("INSERT INTO CT_Works (ct_fk, name, price) VALUES (" + contract + ", '" + name + "', " + price + ")");
}

inline void addSpare(const QString& contract, const QString& name, const QString& price, int num) {
    support::exec("INSERT INTO CT_Spares (ct_fk, name, price, num) VALUES (" + contract + ", '" + name + "', " +
                  price + ", " + QString::number(num) + ")");
}

inline void addPayment(const QString& contract, const QString& amount, const QString& method = "НАЛИЧНЫЕ") {
    support::exec("INSERT INTO Payments (ct_fk, p_date, amount, method) VALUES (" + contract + ", CURRENT_DATE, " + amount +
                  ", '" + method + "')");
}

// A form as it was made before it had `names` (defined names dropped).
inline void dropNames(const QString& form, const QStringList& names) {
    office::Package p = office::Package::load(form);
    QString book = QString::fromUtf8(*p.find("xl/workbook.xml"));
    for (const QString& n : names)
        book.remove(QRegularExpression("<definedName name=\"" + n + "\"[^>]*>[^<]*</definedName>"));
    p.set("xl/workbook.xml", book.toUtf8());
    p.save(form);
}

}  // namespace reportstest
