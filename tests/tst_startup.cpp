// Start-up: the windows and the data module in their order, and every route
// by which the first activation finds (or fails to find) the database.
#include "app/Connect.h"
#include "app/DM.h"
#include "program/Windows.h"
#include "rtl/ProgramFolder.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "support/Program.h"
#include "support/TestDb.h"
#include "support/TestMain.h"
#include "widgets/Activation.h"
#include "widgets/Messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>

namespace {

const QString kNoPath = QString::fromUtf8(app::kNoPathFileMessage);
const QString kNoDb = QString::fromUtf8(app::kNoDatabaseMessage);

void writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
    QTemporaryDir dbDir;
    QString dbPath;  // a real database outside the program folder

    // A fresh program folder and a fresh set of windows for each route.
    QTemporaryDir* folder = nullptr;

    void startProgram() {
        app::resetTermination();
        widgets::Activation::instance().reset();
        program::createForms();
    }

    // The first activation, as the event loop delivers it.
    void activate() {
        QTimer::singleShot(0, MF, [] { widgets::Activation::instance().report(MF); });
        QTest::qWait(20);
    }

private slots:
    void initTestCase() { dbPath = support::makeDatabase(dbDir, "shop.fdb"); }

    void init() {
        folder = new QTemporaryDir;
        rtl::setProgramFolder(folder->path());
        startProgram();
    }

    void cleanup() {
        program::destroyForms();
        rtl::setProgramFolder(QString());
        delete folder;
        folder = nullptr;
    }

    void windowsAreCreatedOnceInOrder() {
        QCOMPARE(program::creationOrder(), QStringList({"MF", "DC", "DM", "CF", "CF2", "VR", "CF3", "SP", "CF4", "SM",
                                                    "SE", "SB", "MH", "SV", "NR", "MW", "RV", "AboutBox", "Hst", "RQ",
                                                    "US", "AU", "HS", "PY", "DL", "KS"}));
        const QStringList captions = {
            "Торквиль 1.0", "Справочник машин", "Договор", "Выбор машины", "Справочник видов работ",
            "Выбор вида работ", "Справочник запасных частей, комплектующих, расходных материалов",
            "Выбор запасных частей, комплектующих, расходных материалов",
            "Справочник фирм-производителей, моделей машин", "Справочник двигателей", "Справочник кузовов",
            "Справочник механиков", "Итоговый свод", "Напоминания о ТО", "Выработка механиков", "Выручка", "О программе",
            "История версий", "Реквизиты автосервиса", "Пользователи", "Журнал изменений", "История обслуживания",
            "Оплата", "Должники", "Касса"};
        QStringList shown;
        for (const QString& name : program::creationOrder()) {
            if (name == "DM") continue;
            QWidget* w = nullptr;
            for (QWidget* top : QApplication::allWidgets())
                if (top->objectName() == name && top->isWindow()) w = top;
            QVERIFY2(w, qPrintable(name));
            shown << w->windowTitle();
        }
        QCOMPARE(shown, captions);
        // Creating the windows does not touch the database.
        QVERIFY(!DM->IBDbase.connected());
        QVERIFY(MF->FirstActivation);
    }

    void endingSignalsEndTheProgramCleanly() {
        // Logout, shutdown or Ctrl+C: the program ends with code 0, although
        // the embedded engine put handlers of its own on these signals.
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
            QTemporaryDir program;
            const QString db = program.filePath("dbase.fdb");
            QVERIFY(QFile::copy(dbPath, db));
            QCOMPARE(support::endProgramWithSignal(program.path(), sig,
                                                   [&](qint64 pid) { return support::hasFileOpen(pid, db); }),
                     0);
        }
    }

    void databaseBesideTheProgramWins() {
        QVERIFY(QFile::copy(dbPath, folder->filePath("dbase.fdb")));
        writeFile(folder->filePath("path.txt"), "/nowhere/else.fdb\n");
        widgets::MessageRecorder rec;
        activate();
        QVERIFY2(rec.isEmpty(), qPrintable(rec.lastText()));
        QVERIFY(DM->IBDbase.connected());
        QCOMPARE(DM->IBDbase.databaseName, folder->filePath("dbase.fdb"));
        QVERIFY(!DM->IBTrans.active());  // connected and reading, holding nothing open
        QVERIFY(!MF->FirstActivation);
    }

    void doubledSlashInTheFolderReadsPathFile() {
        // A program started from a share path (or a root) always reads path.txt.
        QDir(folder->path()).mkdir("share");
        const QString shareDir = folder->path() + "//share";
        rtl::setProgramFolder(shareDir);
        QVERIFY(QFile::copy(dbPath, folder->filePath("share/dbase.fdb")));
        writeFile(folder->filePath("share/path.txt"), dbPath.toUtf8() + "\r\nsecond line\n");
        widgets::MessageRecorder rec;
        activate();
        QVERIFY2(rec.isEmpty(), qPrintable(rec.lastText()));
        QCOMPARE(DM->IBDbase.databaseName, dbPath);
    }

    void pathFileFirstLineOnly() {
        writeFile(folder->filePath("path.txt"), dbPath.toUtf8() + "\n/other/line.fdb\n");
        widgets::MessageRecorder rec;
        activate();
        QVERIFY(rec.isEmpty());
        QVERIFY(DM->IBDbase.connected());
        QCOMPARE(DM->IBDbase.databaseName, dbPath);
        QVERIFY(!app::terminationRequested());
    }

    void trailingBlankFails() {
        writeFile(folder->filePath("path.txt"), dbPath.toUtf8() + " \n");
        widgets::MessageRecorder rec;
        activate();
        QCOMPARE(rec.count(), 1);
        QCOMPARE(rec.lastText(), kNoDb);
        QCOMPARE(rec.lastCaption(), QString("Торквиль"));
        QVERIFY(app::terminationRequested());
        QVERIFY(!DM->IBDbase.connected());
    }

    void emptyPathFileFails() {
        writeFile(folder->filePath("path.txt"), "");
        widgets::MessageRecorder rec;
        activate();
        QCOMPARE(rec.count(), 1);
        QCOMPARE(rec.lastText(), kNoDb);
        QVERIFY(app::terminationRequested());
    }

    void unreadablePathFileSaysSo() {
        QVERIFY(QDir(folder->path()).mkdir("path.txt"));  // there, but no file to read
        widgets::MessageRecorder rec;
        activate();
        QCOMPARE(rec.count(), 1);
        QVERIFY2(rec.lastText().startsWith("Не удалось прочитать файл path.txt: "), qPrintable(rec.lastText()));
        QVERIFY(rec.lastText().endsWith("\rпрограмма будет закрыта"));
        QVERIFY(app::terminationRequested());
        QVERIFY(!DM->IBDbase.connected());
    }

    void missingPathFileGivesBothMessages() {
        widgets::MessageRecorder rec;
        activate();
        QCOMPARE(rec.count(), 2);
        QCOMPARE(rec.entries()[0].text, kNoPath);
        QCOMPARE(rec.entries()[1].text, kNoDb);
        QVERIFY(app::terminationRequested());
        // The rest of the activation is skipped: no list was filled.
        QCOMPARE(MF->Box1->count(), 0);
    }

    void notADatabaseShowsTheEngineTextAndStays() {
        writeFile(folder->filePath("dbase.fdb"), "this is not a database");
        widgets::MessageRecorder rec;
        activate();
        QCOMPARE(rec.count(), 1);
        QCOMPARE(rec.entries()[0].kind, widgets::MessageRecorder::Kind::Error);
        QVERIFY2(rec.lastText().contains("not a valid database", Qt::CaseInsensitive) ||
                     rec.lastText().contains("file", Qt::CaseInsensitive),
                 qPrintable(rec.lastText()));
        QVERIFY(!app::terminationRequested());
        QVERIFY(!DM->IBDbase.connected());
        QVERIFY(!MF->FirstActivation);
        // The journal stays empty and the program goes on.
        QCOMPARE(MF->Grid_doc->cell(0, 1), QString());
    }

    void reactivationNeverReconnects() {
        writeFile(folder->filePath("path.txt"), dbPath.toUtf8());
        widgets::MessageRecorder rec;
        activate();
        QVERIFY(DM->IBDbase.connected());
        QVERIFY(QFile::remove(folder->filePath("path.txt")));
        // Coming back from another window runs the activation again, without connecting.
        for (int i = 0; i < 3; ++i) {
            widgets::Activation::instance().report(CF);
            widgets::Activation::instance().report(MF);
        }
        QVERIFY2(rec.isEmpty(), qPrintable(rec.lastText()));
        QVERIFY(!app::terminationRequested());
        QCOMPARE(DM->IBDbase.databaseName, dbPath);
    }

    void serverPathSkipsTheFileTest() {
        QVERIFY(app::databaseFileExists("127.0.0.1/3050:/srv/none.fdb"));
        QVERIFY(!app::databaseFileExists("/srv/none.fdb"));
        QVERIFY(!app::databaseFileExists(""));
    }
};

TORQUIL_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
