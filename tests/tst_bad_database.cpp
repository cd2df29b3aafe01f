// Database files that are no good, met at start-up: a file that is not a
// database, a file the program may not write, a database set read-only, a
// missing one. The engine's text is shown, nothing is written, and the
// program stays usable; only a missing file ends it, with its own message.
#include "app/Connect.h"
#include "app/DM.h"
#include "program/Windows.h"
#include "rtl/ProgramFolder.h"
#include "catalogues/MH.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "fb/Connection.h"
#include "fb/Query.h"
#include "fb/Transaction.h"
#include "support/Handlers.h"
#include "support/TestDb.h"
#include "support/TestMain.h"
#include "support/Unwritable.h"
#include "widgets/Activation.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperEdit.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

bool writable(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Append);
}

// Runs a handler from the event loop, so that what it throws goes to the
// program's error display as in the program.
void inLoop(const std::function<void()>& handler) { QVERIFY(support::runInLoop(handler, 10000)); }

QStringList errors(const widgets::MessageRecorder& rec) {
    QStringList texts;
    for (const auto& e : rec.entries())
        if (e.kind == widgets::MessageRecorder::Kind::Error) texts << e.text;
    return texts;
}

using support::UnwritableFile;

}  // namespace

class TestBadDatabase : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString good;                  // a database with one contract
    QTemporaryDir* folder = nullptr;  // the program folder of one start
    std::unique_ptr<widgets::MessageRecorder> rec;

    // The program starts with `path` in path.txt; returns after the first activation.
    void start(const QString& path) {
        writeFile(folder->filePath("path.txt"), path.toUtf8() + "\r\n");
        inLoop([] { widgets::Activation::instance().report(MF); });
    }

    // What a user does next: the journal's filters cleared, the editor
    // opened for a new contract and closed, the mechanics added to.
    void useTheProgram() {
        inLoop([] { MF->BitBtn1->click(); });
        inLoop([] { MF->ToolButton2Click(); });
        QVERIFY(CF->isVisible());
        inLoop([] { CF->ToolButton14Click(); });
        QVERIFY(!CF->isVisible());
        QVERIFY(MF->isEnabled());
        QVERIFY(!app::terminationRequested());
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        good = support::makeDatabase(dir, "good.fdb");
        // One contract, written without the windows.
        fb::Connection db;
        db.databaseName = good;
        db.open();
        fb::Transaction tr(&db);
        fb::Query q(&db, &tr);
        q.setSQL({"INSERT INTO Cars (dev, mod, gnum, region, d_year, vin, color, engine, engine2, body, body2, km, "
                  "owner, phone) VALUES ('ЛАДА', 'НИВА', 'А1', '77', 2010, '', '', '', '', '', '', 1, 'ПЕТРОВ', '')"});
        q.execSQL();
        q.setSQL({"INSERT INTO Contracts (c_date, meh, rem, cr_fk) VALUES (CURRENT_DATE, 'ИВАНОВ', 'СТУК', "
                  "(SELECT MAX(pk_id) FROM Cars))"});
        q.execSQL();
        tr.commit();
        db.close();
    }

    void init() {
        folder = new QTemporaryDir;
        rtl::setProgramFolder(folder->path());
        app::resetTermination();
        widgets::Activation::instance().reset();
        rec = std::make_unique<widgets::MessageRecorder>();
        program::createForms();
        MF->show();
    }
    void cleanup() {
        program::destroyForms();
        rec.reset();
        rtl::setProgramFolder(QString());
        delete folder;
        folder = nullptr;
    }

    void notADatabase_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("dbase.fdb is not this\n");
        QTest::newRow("zeros") << QByteArray(16384, '\0');
        QByteArray page = QByteArray(8192, '\x55');
        page[0] = 1;  // looks like a header page, is none
        QTest::newRow("page of noise") << page;
    }
    void notADatabase() {
        QFETCH(QByteArray, bytes);
        const QString path = folder->filePath("other.fdb");
        writeFile(path, bytes);
        start(path);
        QCOMPARE(errors(*rec).size(), 1);
        QVERIFY2(errors(*rec)[0].contains("not a valid database") || errors(*rec)[0].contains("I/O error") ||
                     errors(*rec)[0].contains("unsupported on-disk structure"),
                 qPrintable(errors(*rec)[0]));
        QVERIFY(!DM->IBDbase.connected());
        QCOMPARE(MF->Grid_doc->cell(0, 1), QString());
        // Every later action shows the database layer's text; nothing breaks.
        useTheProgram();
        QVERIFY(errors(*rec).size() > 1);
        QCOMPARE(digest(path), QCryptographicHash::hash(bytes, QCryptographicHash::Sha1));
    }

    void fileWithoutWriteAccess() {
        const QString path = folder->filePath("dbase-ro.fdb");
        QVERIFY(QFile::copy(good, path));
        const QByteArray before = digest(path);
        {
            UnwritableFile guard(path);
            QVERIFY2(!writable(path), "the file stays writable for this user (chattr +i refused?)");
            start(path);
            QCOMPARE(errors(*rec).size(), 1);
            QVERIFY2(errors(*rec)[0].contains("no permission for read-write access to database"),
                     qPrintable(errors(*rec)[0]));
            QVERIFY(!DM->IBDbase.connected());
            useTheProgram();
        }
        QCOMPARE(digest(path), before);
    }

    void readOnlyDatabase() {
        const QString path = folder->filePath("dbase-mode-ro.fdb");
        QVERIFY(QFile::copy(good, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QProcess gfix;
        gfix.setProcessChannelMode(QProcess::MergedChannels);
        gfix.start("gfix", {"-mode", "read_only", "-user", "sysdba", "-password", "quillstem", path});
        QVERIFY(gfix.waitForFinished(30000));
        QVERIFY2(gfix.exitCode() == 0, gfix.readAll().constData());

        // It opens and reads: the journal lists its contract.
        start(path);
        QVERIFY2(errors(*rec).isEmpty(), qPrintable(errors(*rec).join('\n')));
        QVERIFY(DM->IBDbase.connected());
        QCOMPARE(MF->Grid_doc->cell(7, 1), QString("  ИВАНОВ"));
        // A write shows the engine's text and writes nothing.
        inLoop([] {
            MH->FormActivate();
            MH->ToolButton2Click();
            MH->Edit1->setText("СИДОРОВ");
            MH->ToolButton8Click();
        });
        QCOMPARE(errors(*rec).size(), 1);
        QVERIFY2(errors(*rec)[0].contains("attempted update on read-only database"), qPrintable(errors(*rec)[0]));
        QCOMPARE(support::scalar("SELECT COUNT(*) FROM meh"), QString("0"));
        inLoop([] { MH->FormActivate(); });
        // The journal is read again as before.
        inLoop([] { MF->BitBtn1->click(); });
        QCOMPARE(MF->Grid_doc->cell(7, 1), QString("  ИВАНОВ"));
        QCOMPARE(errors(*rec).size(), 1);
    }

    void missingFile() {
        // A local file that is not there ends the program with its own message.
        start(folder->filePath("gone.fdb"));
        QCOMPARE(rec->count(), 1);
        QCOMPARE(rec->lastText(), QString::fromUtf8(app::kNoDatabaseMessage));
        QVERIFY(app::terminationRequested());
        QVERIFY(!DM->IBDbase.connected());
    }
};

TORQUIL_TEST_MAIN(TestBadDatabase)
#include "tst_bad_database.moc"
