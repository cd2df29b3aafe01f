#include "tools/OrderPdf.h"

#include "app/DM.h"
#include "app/Login.h"
#include "app/OrderDocument.h"
#include "app/SchemaSteps.h"
#include "app/SchemaUpgrade.h"
#include "app/WorkOrder.h"
#include "fb/Client.h"
#include "print/Render.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <exception>

namespace tools {

bool isOrderCommand(int argc, char** argv) {
    return argc > 1 && (std::strcmp(argv[1], "order") == 0 || std::strcmp(argv[1], "act") == 0);
}

namespace {

int run(const QStringList& args) {
    if (args.size() != 4) {
        std::fprintf(stderr, "usage:\n  torquil-db order DATABASE NUMBER FILE.pdf\n  torquil-db act DATABASE NUMBER FILE.pdf\n");
        return 2;
    }
    try {
        DM = new TDM;
        DM->IBDbase.databaseName = args[1];
        app::attachWithRole(DM->IBDbase);
        DM->IBTrans.forRead();
        // Printed as the database stands: a printout never upgrades it.
        app::setDatabaseSchema(app::schemaVersion(DM->IBDbase));
        const int key = app::contractKeyByNumber(args[2]);
        if (key < 0) {
            std::fprintf(stderr, "torquil-db: no contract numbered %s\n", qPrintable(args[2]));
            return 1;
        }
        const app::PrintedOrder p = app::contractDocument(
            key, args[0] == QLatin1String("act") ? app::OrderPaper::Act : app::OrderPaper::Order);
        print::writePdf(p.document, args[3]);
        if (!p.missing.isEmpty())
            std::fprintf(stderr, "torquil-db: warning: %s\n", qPrintable(app::missingDetailsText(p.missing)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torquil-db: %s\n", qPrintable(QString::fromUtf8(e.what()).replace(u'\r', u'\n')));
        return 1;
    }
    return 0;
}

}  // namespace

int orderCommand(int argc, char** argv) {
    // Fonts need a QGuiApplication; without a display, the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int status = 0;
    {
        QGuiApplication app(argc, argv);
        status = run(app.arguments().mid(1));
        delete DM;
        DM = nullptr;
    }
    fb::shutdownClient();
    return status;
}

}  // namespace tools
