// The Debian package from scripts/package, unpacked into a temporary root:
// what it holds and needs, and the unpacked program on a database made by the
// unpacked torquil-db, with its forms folder read-only, through a card.
#include "program/Windows.h"
#include "rtl/ProgramFolder.h"
#include "contracts/MF.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "office/Viewer.h"
#include "office/Workbook.h"
#include "support/Handlers.h"
#include "support/TestMain.h"
#include "support/Unwritable.h"
#include "widgets/Activation.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

struct Run {
    int code = -1;
    QString out;
};

Run run(const QString& program, const QStringList& args, int timeoutMs = 300000) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Run r;
    if (p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit) r.code = p.exitCode();
    r.out = QString::fromUtf8(p.readAll());
    return r;
}

QByteArray digest(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// The package names of a comma-separated relation field, versions and
// alternatives dropped.
QStringList packageNames(const QString& field) {
    QStringList names;
    for (const QString& part : field.split(u',', Qt::SkipEmptyParts))
        names << part.section(u'|', 0, 0).section(u'(', 0, 0).trimmed();
    return names;
}

}  // namespace

class TestPackage : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString deb, root, folder;

    QString field(const QString& name) { return run("dpkg-deb", {"-f", deb, name}).out.trimmed(); }

private slots:
    void initTestCase() {
        const Run built = run(QStringLiteral(TORQUIL_SOURCE_DIR "/scripts/package"),
                              {QStringLiteral(TORQUIL_BINARY_DIR), dir.filePath("out")});
        QVERIFY2(built.code == 0, qPrintable(built.out));
        deb = built.out.trimmed().section(u'\n', -1);
        QVERIFY2(QRegularExpression("/torquil_[0-9.]+_amd64\\.deb$").match(deb).hasMatch(), qPrintable(deb));
        root = dir.filePath("root");
        QCOMPARE(run("dpkg-deb", {"-x", deb, root}).code, 0);
        folder = root + "/opt/torquil";
    }

    void contentsAndDependencies() {
        for (const char* f : {"torquil", "torquil-db"}) {
            QVERIFY2(QFileInfo(folder + "/" + f).isExecutable(), f);
            // The command resolves to the program folder, inside any root.
            const QFileInfo link(root + "/usr/bin/" + f);
            QVERIFY2(link.isSymLink() && link.canonicalFilePath() == QFileInfo(folder + "/" + f).canonicalFilePath(), f);
        }
        for (const char* f : {"Forms/print.xlsx", "Forms/svod.xlsx", "schema/dbase.sql"})
            QVERIFY2(QFileInfo(folder + "/" + f).isFile(), f);
        const QString listing = run("dpkg-deb", {"-c", deb}).out;
        QVERIFY(!listing.contains(".fdb") && !listing.contains("path.txt"));  // no database comes or goes with it
        for (const QString& line : listing.split(u'\n', Qt::SkipEmptyParts))
            QVERIFY2(line.contains(" root/root "), qPrintable(line));

        // The menu entry and its icon.
        const QString desktop = root + "/usr/share/applications/torquil.desktop";
        const Run valid = run("desktop-file-validate", {desktop});
        QVERIFY2(valid.code == 0 && valid.out.trimmed().isEmpty(), qPrintable(valid.out));
        QFile d(desktop);
        QVERIFY(d.open(QIODevice::ReadOnly));
        const QString entry = QString::fromUtf8(d.readAll());
        QVERIFY(entry.contains("\nName=Торквиль\n") && entry.contains("\nExec=torquil\n") &&
                entry.contains("\nIcon=torquil\n"));
        QVERIFY(QFileInfo::exists(root + "/usr/share/icons/hicolor/scalable/apps/torquil.svg"));

        // Every library the executables link comes from a package it depends
        // on; so do the engine, Qt's Russian texts, the fonts and the opener.
        const QStringList depends = packageNames(field("Depends"));
        for (const char* p : {"firebird3.0-server-core", "qt6-translations-l10n", "fonts-liberation2",
                              "fonts-dejavu-core", "xdg-utils"})
            QVERIFY2(depends.contains(p), p);
        QVERIFY(packageNames(field("Recommends")).contains("libreoffice-calc"));
        for (const char* f : {"torquil", "torquil-db"}) {
            const QString dynamic = run("objdump", {"-p", folder + "/" + f}).out;
            const QRegularExpression needed("NEEDED\\s+(\\S+)");
            for (auto m = needed.globalMatch(dynamic); m.hasNext();) {
                const QString lib = m.next().captured(1);
                const QString owner =
                    run("sh", {"-c", "p=$(/sbin/ldconfig -p | awk -v l='" + lib + "' '$1==l {print $NF; exit}'); "
                                     "(dpkg -S \"$p\" 2>/dev/null || dpkg -S \"$(readlink -f \"$p\")\") | head -1"})
                        .out.section(u':', 0, 0);
                QVERIFY2(depends.contains(owner), qPrintable(lib + " from " + owner));
            }
        }
        QCOMPARE(run("dpkg-deb", {"--ctrl-tarfile", deb}).code, 0);
        QVERIFY(run("sh", {"-c", "dpkg-deb --info '" + deb + "' conffiles"}).out.contains("/opt/torquil/Forms/print.xlsx"));
    }

    void theUnpackedProgramPrintsACard() {
        // The shop's database, made by the unpacked tool and named in path.txt.
        const QString db = dir.filePath("shop/dbase.fdb");
        QDir().mkpath(dir.filePath("shop"));
        const Run made = run(root + "/usr/bin/torquil-db", {"demo", db});
        QVERIFY2(made.code == 0, qPrintable(made.out));
        {
            QFile path(folder + "/path.txt");
            QVERIFY(path.open(QIODevice::WriteOnly));
            path.write(db.toUtf8() + "\n");
        }
        const QString forms = folder + "/Forms";
        const QByteArray before = digest(forms + "/print.xlsx");
        support::UnwritableFile card(forms + "/print.xlsx");
        support::UnwritableFile formsFolder(forms);
        QVERIFY2(!QFileInfo(forms).isWritable(), "the forms folder stays writable (chattr +i refused?)");

        // Started by its command, the program finds path.txt in its real
        // folder and holds the database (the embedded engine lets one process in).
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(root + "/usr/bin/torquil", {});
        QVERIFY(program.waitForStarted());
        // Waits for the program to open the file (its descriptors), then
        // tries a second attachment, which the engine refuses.
        const QString fds = QString("/proc/%1/fd").arg(program.processId());
        auto holdsDatabase = [&] {
            for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::System | QDir::NoDotAndDotDot))
                if (fd.symLinkTarget() == db) return true;
            return false;
        };
        for (int i = 0; i < 200 && !holdsDatabase() && program.state() == QProcess::Running; ++i) QTest::qWait(100);
        QString refused;
        fb::Connection probe;
        probe.databaseName = db;
        try {
            probe.open();
        } catch (const fb::Error& e) {
            refused = e.text();
        }
        probe.close();
        program.kill();
        program.waitForFinished();
        QVERIFY2(refused.contains("already opened"), qPrintable("the program did not attach: " + refused));

        // The card, from the journal of the unpacked program folder.
        QFile opener(dir.filePath("opener.sh"));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write(("#!/bin/sh\necho \"$1\" > '" + dir.filePath("opened.txt") + "'\n").toUtf8());
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        office::DesktopViewer viewer(opener.fileName());
        office::setViewer(&viewer);
        office::setOutputDir(dir.filePath("cards"));
        rtl::setProgramFolder(folder);
        widgets::Activation::instance().reset();
        program::createForms();
        widgets::MessageRecorder rec;
        MF->show();
        MF->FormActivate();  // the first activation: path.txt, then the database
        const int row = MF->Grid_doc->currentRow();
        const QString num = MF->Grid_doc->cell(1, row).trimmed();
        QVERIFY(!MF->Grid_doc->cell(0, row).isEmpty());
        MF->ToolButton8Click();
        QVERIFY(support::openersEnded());
        QVERIFY2(rec.isEmpty(), qPrintable(rec.lastText()));
        QFile opened(dir.filePath("opened.txt"));
        QVERIFY(opened.open(QIODevice::ReadOnly));
        const QString shown = QString::fromUtf8(opened.readAll()).trimmed();
        QVERIFY2(shown.startsWith(dir.filePath("cards/Заказ-наряд-" + num + "-")), qPrintable(shown));
        QCOMPARE(office::Workbook(shown).cellText("Q1"), num);
        QCOMPARE(digest(forms + "/print.xlsx"), before);

        program::destroyForms();
        office::setViewer(nullptr);
        office::setOutputDir(QString());
        rtl::setProgramFolder(QString());
    }
};

TORQUIL_TEST_MAIN(TestPackage)
#include "tst_package.moc"
