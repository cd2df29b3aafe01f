// One workstation of the shop, for the tests with several of them: the
// program's whole set of windows in a process of its own, pointed at a
// database through the path.txt of its program folder, driven by commands.
//
//   torquil-workstation --folder DIR [--name NAME] [--timeout SEC] [--reconnect-ms MS] [--stdin] [COMMAND ...]
//
// The main window is activated first (which connects, as at start-up); then
// the commands of the command line run (each word one argument), then, with
// --stdin, one command per line of the standard input until "quit" or its end.
// Each command answers with lines on the standard output, the last of them
// "ok [...]" or "fail TEXT", where TEXT is every error and message that the
// windows showed meanwhile (line breaks written as \n). The start answers
// "ok ready" or "fail TEXT" the same way.
//
// Commands that go through the windows' own handlers:
//   register N         N contracts through the editor, each with a new car
//                      taken by the car picker, two works and a spare part;
//                      "contract KEY NUMBER" for each
//   open KEY           the contract of the journal row KEY, in edit mode
//   remark TEXT        the remark of the open contract (as typed)
//   work NAME PRICE    a work line handed over as the work picker does
//   save | close       the editor's save and close buttons
//   edit KEY TEXT      open, remark, a work named TEXT, save, close
//   journal            the main window's activation; "ok ROWS"
//   new CAR            a new contract in the editor for the car with key CAR
//   rename-work KEY NAME  the works catalogue row KEY being renamed (not saved)
//   save-work          the works catalogue's save button
//   editor             what the editor shows: "ok NUMBER|REMARK|WORKS|SPARES"
//                      (the lines' names joined with ";")
//   status             the main window's status line: "ok TEXT"
// Commands through the data module's connection and transaction directly:
//   hold KEY TEXT      the contract's remark updated, not yet committed
//   commit | rollback  of that transaction
//   ping | quit
#include "app/DM.h"
#include "app/StatusLine.h"
#include "program/Windows.h"
#include "rtl/ProgramFolder.h"
#include "app/Connect.h"
#include "cars/CF2.h"
#include "cars/CarFields.h"
#include "contracts/CF.h"
#include "contracts/MF.h"
#include "catalogues/VR.h"
#include "app/ContractLines.h"
#include "fb/Reconnect.h"
#include "support/Handlers.h"
#include "widgets/Activation.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/Messages.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

#include <cstdio>
#include <functional>
#include <iostream>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

QString name = QStringLiteral("WS");
widgets::MessageRecorder* recorder = nullptr;

QString oneLine(QString text) {
    text.replace(u'\\', QLatin1String("\\\\"));
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(u'\r', QLatin1String("\\n"));
    text.replace(u'\n', QLatin1String("\\n"));
    return text;
}

void say(const QString& line) {
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// Runs a handler from the event loop, as a click would: whatever it throws
// goes to the program's error display.
void inLoop(const std::function<void()>& handler) {
    if (!support::runInLoop(handler, 60000)) widgets::showError(QStringLiteral("the handler did not finish within 60 s"));
}

// What the windows showed since the last answer; empty when nothing.
QString shown() {
    QStringList texts;
    for (const auto& e : recorder->entries()) texts << e.text;
    recorder->clear();
    return oneLine(texts.join(QStringLiteral(" | ")));
}

bool anyShown() { return !recorder->isEmpty(); }

// "ok" when the windows showed nothing, else "fail" with their texts.
void answer(const QString& ok = QString()) {
    if (anyShown())
        say(QStringLiteral("fail ") + shown());
    else
        say(ok.isEmpty() ? QStringLiteral("ok") : QStringLiteral("ok ") + ok);
}

int journalRows() {
    int n = 0;
    for (int r = 1; r < MF->Grid_doc->rowCount(); ++r)
        if (!MF->Grid_doc->cell(0, r).isEmpty()) ++n;
    return n;
}

bool openContract(const QString& key) {
    for (int r = 1; r < MF->Grid_doc->rowCount(); ++r) {
        if (MF->Grid_doc->cell(0, r) != key) continue;
        inLoop([r] {
            MF->Grid_doc->setCurrentRow(r);
            MF->ToolButton4Click();
        });
        return CF->isVisible();
    }
    widgets::showError(QStringLiteral("no contract %1 in the journal").arg(key));
    return false;
}

void setRemark(const QString& text) {
    inLoop([&] { CF->Memo1->setPlainText(text); });  // a change, as typing is
}

void save() {
    if (!CF->isVisible() || !CF->ToolButton8->isEnabled()) {
        widgets::showError(QStringLiteral("the save button is disabled"));
        return;
    }
    inLoop([] { CF->ToolButton8Click(); });
}

void closeEditor() {
    inLoop([] { CF->ToolButton14Click(); });
}

// One contract, as a user registers it.
bool registerOne(int i) {
    const QString tag = QStringLiteral("%1 %2").arg(name).arg(i);
    inLoop([] { MF->ToolButton2Click(); });
    if (anyShown()) return false;
    // The car picker: the fields typed as a car that is not in the list yet.
    inLoop([&] {
        CF2->FormActivate();
        cars::CarValues car;
        car.dev = QStringLiteral("ЛАДА");
        car.mod = QStringLiteral("ВЕСТА");
        car.gnum = QStringLiteral("А%1").arg(i);
        car.region = QStringLiteral("77");
        car.d_year = QStringLiteral("2019");
        car.km = QString::number(1000 + i);
        car.owner = tag;
        CF2->setValues(car);
        CF2->Car_id->setText(QStringLiteral("*"));
        CF2->BitBtn1Click();
    });
    if (anyShown()) return false;
    inLoop([&] {
        CF->Box0->setText(QStringLiteral("МЕХАНИК"));
        CF->Memo1->setPlainText(tag);
        CF->EditKm->setText(QString::number(1000 + i));
        // The pickers' hand-over.
        CF->AppendWork(tag + QStringLiteral(" РАБОТА 1"), QStringLiteral("100"));
        CF->AppendWork(tag + QStringLiteral(" РАБОТА 2"), QStringLiteral("200,5"));
        CF->AppendSpare(tag + QStringLiteral(" ЗАПЧАСТЬ"), QStringLiteral("3"), QStringLiteral("10"));
    });
    save();
    if (anyShown()) return false;
    say(QStringLiteral("contract %1 %2").arg(CF->DocId).arg(CF->Edit0->text()));
    closeEditor();
    return !anyShown();
}

// Runs one command; false to end.
bool command(QStringList words) {
    if (words.isEmpty()) return true;
    const QString cmd = words.takeFirst();
    auto need = [&](int n) {
        if (words.size() >= n) return true;
        say(QStringLiteral("fail %1 needs %2 arguments").arg(cmd).arg(n));
        return false;
    };
    if (cmd == QLatin1String("quit")) return false;
    if (cmd == QLatin1String("ping")) {
        answer();
    } else if (cmd == QLatin1String("register")) {
        if (!need(1)) return true;
        const int n = words[0].toInt();
        for (int i = 1; i <= n; ++i)
            if (!registerOne(i)) break;
        answer();
    } else if (cmd == QLatin1String("open")) {
        if (!need(1)) return true;
        openContract(words[0]);
        answer(CF->Edit0->text());
    } else if (cmd == QLatin1String("remark")) {
        if (!need(1)) return true;
        setRemark(words.join(u' '));
        answer();
    } else if (cmd == QLatin1String("work")) {
        if (!need(2)) return true;
        inLoop([&] { CF->AppendWork(words[0], words[1]); });
        answer();
    } else if (cmd == QLatin1String("save")) {
        save();
        answer();
    } else if (cmd == QLatin1String("close")) {
        closeEditor();
        answer();
    } else if (cmd == QLatin1String("edit")) {
        if (!need(2)) return true;
        const QString text = words.mid(1).join(u' ');
        if (openContract(words[0])) {
            setRemark(text);
            inLoop([&] { CF->AppendWork(text, QStringLiteral("1")); });
            save();
            closeEditor();
        }
        answer();
    } else if (cmd == QLatin1String("new")) {
        if (!need(1)) return true;
        inLoop([&] {
            MF->ToolButton2Click();
            CF->Car_id->setText(words[0]);  // the car picker's hand-over
            CF->EditKm->setText(QStringLiteral("9999999"));  // never below an earlier visit
            CF->ToolButton8->setEnabled(true);
        });
        answer();
    } else if (cmd == QLatin1String("rename-work")) {
        if (!need(2)) return true;
        inLoop([&] {
            VR->FormActivate();
            widgets::StringGrid* list = VR->Grid_work;
            for (int r = 1; r < list->rowCount(); ++r)
                if (list->cell(0, r) == words[0]) list->setCurrentRow(r);
            VR->ToolButton4Click();
            VR->Box1->setText(words.mid(1).join(u' '));
        });
        answer();
    } else if (cmd == QLatin1String("save-work")) {
        inLoop([] { VR->ToolButton8Click(); });
        answer();
    } else if (cmd == QLatin1String("editor")) {
        auto names = [](widgets::StringGrid* grid) {
            QStringList l;
            for (int r = 1; r < grid->rowCount(); ++r)
                if (!grid->cell(contracts::kLineName, r).isEmpty()) l << grid->cell(contracts::kLineName, r);
            return l.join(u';');
        };
        answer(QStringList{CF->Edit0->text(), CF->Memo1->toPlainText(), names(CF->Grid_work), names(CF->grid_sp)}
                   .join(u'|'));
    } else if (cmd == QLatin1String("status")) {
        answer(app::statusText());
    } else if (cmd == QLatin1String("journal")) {
        inLoop([] { MF->FormActivate(); });
        answer(QString::number(journalRows()));
    } else if (cmd == QLatin1String("hold")) {
        if (!need(2)) return true;
        inLoop([&] {
            fb::Query& q = DM->iSQL;
            TDM::reset(q, QStringLiteral("UPDATE Contracts SET rem = :rem WHERE pk_id = :pk_id"));
            q.setString(QStringLiteral("rem"), words.mid(1).join(u' '));
            q.setInteger(QStringLiteral("pk_id"), words[0].toInt());
            q.execSQL();
        });
        answer(QString::number(DM->iSQL.rowsAffected()));
    } else if (cmd == QLatin1String("commit")) {
        inLoop([] { DM->IBTrans.commit(); });
        answer();
    } else if (cmd == QLatin1String("rollback")) {
        inLoop([] { DM->IBTrans.rollback(); });
        answer();
    } else {
        say(QStringLiteral("fail unknown command ") + cmd);
    }
    return true;
}

// Splits the command words off the command line: each command takes its
// fixed number of arguments, the text of remark, hold and edit one word.
QList<QStringList> scriptOf(const QStringList& args) {
    static const QHash<QString, int> arity = {{"register", 1}, {"open", 1}, {"remark", 1},  {"work", 2},
                                              {"save", 0},     {"close", 0}, {"edit", 2},   {"journal", 0},
                                              {"hold", 2},     {"commit", 0}, {"rollback", 0}, {"ping", 0},
                                              {"quit", 0}};
    QList<QStringList> script;
    for (int i = 0; i < args.size();) {
        const int n = arity.value(args[i], 0);
        script << args.mid(i, n + 1);
        i += n + 1;
    }
    return script;
}

// The offscreen platform's complaint about raise() is noise here.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("does not support raise()"))) return;
    std::fputs((qFormatLogMessage(type, context, text) + u'\n').toLocal8Bit().constData(), stderr);
}

}  // namespace

int main(int argc, char** argv) {
    // A workstation never outlives the test that runs it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    qInstallMessageHandler(quietMessages);
    widgets::Application application(argc, argv);
    QStringList args = application.arguments().mid(1);
    QString folder;
    bool fromStdin = false;
    int timeout = 120;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--stdin")) fromStdin = true;
        else if (opt == QLatin1String("--folder") && !args.isEmpty()) folder = args.takeFirst();
        else if (opt == QLatin1String("--name") && !args.isEmpty()) name = args.takeFirst();
        else if (opt == QLatin1String("--timeout") && !args.isEmpty()) timeout = args.takeFirst().toInt();
        else if (opt == QLatin1String("--reconnect-ms") && !args.isEmpty())
            fb::reconnectPolicy().waitMs = args.takeFirst().toInt();
    }
    ::alarm(unsigned(timeout));  // and never hangs for ever
    if (folder.isEmpty()) {
        say(QStringLiteral("fail --folder is required"));
        return 2;
    }
    rtl::setProgramFolder(folder);
    widgets::MessageRecorder messages;  // questions are answered No
    recorder = &messages;

    program::createForms();
    MF->show();
    inLoop([] { widgets::Activation::instance().report(MF); });
    if (app::terminationRequested()) {
        say(QStringLiteral("fail ") + shown());
        program::destroyForms();
        return 1;
    }
    answer(QStringLiteral("ready"));

    bool going = true;
    for (const QStringList& words : scriptOf(args))
        if (!(going = command(words))) break;
    if (going && fromStdin) {
        std::string line;
        while (going && std::getline(std::cin, line))
            going = command(QString::fromStdString(line).split(u' ', Qt::SkipEmptyParts));
    }
    program::destroyForms();
    say(QStringLiteral("bye"));
    return 0;
}
