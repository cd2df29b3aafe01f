#include "contracts/CF.h"

#include "app/DM.h"
#include "app/RowGone.h"
#include "contracts/CFPayments.h"
#include "app/Lookup.h"
#include "app/StatusLine.h"
#include "app/WindowFlow.h"
#include "cars/CF2.h"
#include "cars/CarFields.h"
#include "cars/HS.h"
#include "contracts/CF3.h"
#include "contracts/CF4.h"
#include "app/ContractLines.h"
#include "contracts/MF.h"
#include "rtl/Convert.h"
#include "rtl/Marker.h"
#include "widgets/Activation.h"
#include "widgets/DateEdit.h"
#include "widgets/Doing.h"
#include "widgets/Focus.h"
#include "widgets/Icons.h"
#include "widgets/Messages.h"
#include "widgets/SaveShortcut.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolBar.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <functional>

TCF* CF = nullptr;

namespace {

// Enter in the remark does not break the line; it hands the focus on.
class EnterFilter : public QObject {
public:
    EnterFilter(QObject* parent, std::function<void()> onEnter) : QObject(parent), onEnter_(std::move(onEnter)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && widgets::isEnterKey(static_cast<QKeyEvent*>(event))) {
            onEnter_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onEnter_;
};

}  // namespace

TCF::TCF(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("CF"));
    setWindowTitle(QStringLiteral("Договор"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(1067, 735);

    Car_id = new widgets::KeyLabel(QStringLiteral("*"), this);
    Car_id->setObjectName(QStringLiteral("Car_id"));
    Car_id->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(2);
    buildToolBar();
    layout->addWidget(ToolBar1);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    body->setSpacing(4);
    buildHeader();
    buildCar();
    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(GP1);
    top->addWidget(GP2, 1);
    GP1->setFixedWidth(432);
    body->addLayout(top);
    buildLines();
    buildAcceptance();
    auto* lines = new QGridLayout;
    lines->setSpacing(4);
    lines->addWidget(GP3, 0, 0);
    lines->addWidget(GP5, 0, 1);
    lines->addWidget(GP4, 1, 0);
    lines->addWidget(GP6, 1, 1);
    lines->setColumnStretch(0, 2);
    lines->setColumnStretch(1, 1);
    body->addLayout(lines, 2);
    GP7 = new contracts::PaymentsGroup(this);
    GP7->setFixedHeight(120);
    body->addWidget(GP7);
    layout->addLayout(body, 1);
    buildAuthors();
    layout->addWidget(StatusBar1);

    setNamesAndTabOrder();

    // Disabled fields (the car, and everything in view mode) stay readable.
    for (QGroupBox* g : {GP1, GP2, GP3, GP4, GP5, GP6}) {
        QPalette p = g->palette();
        p.setColor(QPalette::Disabled, QPalette::Text, QColor(40, 40, 40));
        p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(60, 60, 60));
        g->setPalette(p);
    }

    // Handlers.
    connect(MaskEdit1, &widgets::DateEdit::userChanged, this, &TCF::MaskEdit1Change);
    connect(Box0, &widgets::UpperCombo::userChanged, this, &TCF::noteHeaderChange);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TCF::noteHeaderChange);
    connect(MaskEdit1, &widgets::LineEdit::enterPressed, this, [this] { MaskEdit1KeyPress(MaskEdit1); });
    connect(Edit0, &widgets::LineEdit::enterPressed, this, [this] { focusNextField(Edit0); });
    connect(Edit1, &widgets::LineEdit::enterPressed, this, [this] { focusNextField(Edit1); });
    for (widgets::UpperCombo* box : {Box0, Box1, Box2, Box3, Box4, Box5, Box6, Box7, Box8, Box81, Box9, Box91, Box10,
                                     Box11})
        connect(box, &widgets::UpperCombo::enterPressed, this, [this, box] { focusNextField(box); });
    Memo1->installEventFilter(new EnterFilter(Memo1, [this] { Memo1KeyPress(); }));
    connect(BitBtn1, &QPushButton::clicked, this, &TCF::BitBtn1Click);
    connect(BitBtn9, &QPushButton::clicked, this, &TCF::BitBtn9Click);
    connect(Car_id, &widgets::KeyLabel::textChanged, BitBtn9,
            [this](const QString& key) { BitBtn9->setEnabled(key != QStringLiteral("*")); });
    connect(BitBtn3, &QPushButton::clicked, this, &TCF::BitBtn3Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TCF::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TCF::BitBtn6Click);
    connect(BitBtn8, &QPushButton::clicked, this, &TCF::BitBtn8Click);
    connect(ToolButton4, &QToolButton::clicked, this, &TCF::ToolButton4Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TCF::ToolButton8Click);
    connect(ToolButton6, &QToolButton::clicked, this, &TCF::ToolButton6Click);
    connect(ToolButton14, &QToolButton::clicked, this, &TCF::ToolButton14Click);
    widgets::addSaveShortcut(this, {ToolButton8});

    widgets::Activation::instance().setHandler(this, [this] { FormActivate(); });
}

// The car's group stays enabled, so that its history can be seen in view
// mode too: there only the picker button and the captions go with the mode
// (the car fields are never edited in place).
void TCF::setGroupsEnabled(bool on) {
    for (QGroupBox* g : {GP1, GP3, GP4, GP5, GP6}) g->setEnabled(on);
    BitBtn1->setEnabled(on);
    for (QLabel* label : GP2->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) label->setEnabled(on);
}

// ---- Opening ----------------------------------------------------------------------

void TCF::showEvent(QShowEvent* e) {
    // Becoming visible from hidden is a new opening; coming back from a
    // picker or another program is not.
    if (!e->spontaneous()) openingPending_ = true;
    QWidget::showEvent(e);
}

void TCF::FormActivate() {
    if (!openingPending_) return;
    openingPending_ = false;
    try {
        prepareOpening();
    } catch (...) {
        // A contract that could not be read is not shown at all: the
        // editor goes and the error is shown. (What the journal meets on
        // its own activation then is the same error again, not news.) A new
        // contract stays, empty and dated, with no number yet.
        if (!NewDoc) {
            DocId = -1;
            try {
                hide();
            } catch (...) {
            }
        }
        throw;
    }
}

void TCF::prepareOpening() {
    DocId = -1;
    const QString key = OpenKey.isEmpty() ? MF->Grid_doc->cell(0, MF->Grid_doc->currentRow()) : OpenKey;
    OpenKey.clear();
    ToolButton8->setEnabled(false);
    showMileageFields();
    showAcceptance();
    if (NewDoc) {
        ToolButton6->setEnabled(false);
        ToolButton4->setEnabled(false);
        setGroupsEnabled(true);
        ClearDoc();
        MaskEdit1->setText(rtl::DateToStr(QDate::currentDate()));
        proposeNextService();
        MaskEdit1->setFocus();
        showNumber(QString::number(nextNumber()), numberIsProvisional());
    } else if (EditDoc) {
        ToolButton6->setEnabled(true);
        LoadDoc(QString::number(rtl::StrToInt(key)));
        DocId = rtl::StrToInt(key);
        setGroupsEnabled(true);
        MaskEdit1->setFocus();
    } else {
        ToolButton6->setEnabled(true);
        LoadDoc(QString::number(rtl::StrToInt(key)));
        DocId = rtl::StrToInt(key);
        ToolButton4->setEnabled(true);
        setGroupsEnabled(false);
    }
    ToolButton8->setEnabled(false);
    MF->FillNameCombo(Box0, QStringLiteral("meh"));
}

qint64 TCF::nextNumber() {
    fb::Query& q = DM->iSQL;
    TDM::reset(q, QStringLiteral("select gen_id(gen_doc_num,0) from RDB$DATABASE"));
    q.open();
    const qint64 current = q.field(0).asInt64();
    q.close();
    return current + 1;
}

bool TCF::numberIsProvisional() { return fb::Connection::isRemotePath(DM->IBDbase.databaseName); }

void TCF::showNumber(const QString& number, bool provisional) {
    // With several workstations the generator moves on under the open
    // editor: the number a new contract gets is known only at its save.
    shownNumber_ = provisional ? number : QString();
    Edit0->setText(provisional ? QStringLiteral("≈") + number : number);
    QPalette p = Edit0->palette();
    p.setColor(QPalette::Text, provisional ? QColor(Qt::gray) : palette().color(QPalette::Text));
    Edit0->setPalette(p);
    Edit0->setToolTip(provisional ? QStringLiteral("Номер предварительный: договор получит его при сохранении")
                                  : QString());
}

void TCF::ClearDoc() {
    for (widgets::UpperCombo* box : {Box0, Box1, Box2, Box3, Box4, Box5, Box6, Box7, Box8, Box81, Box9, Box91, Box10,
                                     Box11})
        box->clearText();
    MaskEdit1->clear();
    {
        const QSignalBlocker quiet(Memo1);
        Memo1->clear();
    }
    Edit1->clear();
    clearMileage();
    showNumber(QString(), false);
    Car_id->setText(QStringLiteral("*"));
    contracts::clearLines(Grid_work, contracts::kWorkLines);
    contracts::clearLines(grid_sp, contracts::kSpareLines);
    Label17->setText(QStringLiteral("0"));
    Label20->setText(QStringLiteral("0"));
    Label21->setText(QStringLiteral("0"));
    GP7->clear();
    clearAcceptance();
    LabelAuthors->clear();
}

void TCF::LoadDoc(const QString& key) {
    // Everything is read before anything is shown: a failed read leaves
    // the editor as it was.
    fb::Query& q = DM->iSQL;
    // Both tables have a mileage: the car's field shows the car's.
    TDM::reset(q, QStringLiteral("SELECT ct.*, cr.*, cr.km AS car_km FROM Contracts ct INNER JOIN CARS cr ON ct.cr_fk=cr.pk_id "
                                 "WHERE ct.pk_id = :pk_id"));
    q.setString(QStringLiteral("pk_id"), key);
    q.open();
    const fb::RowSet head = q.takeRows();
    const fb::RowSet workLines = contracts::readLines(contracts::kWorkLines, key);
    const fb::RowSet spareLines = contracts::readLines(contracts::kSpareLines, key);

    auto text = [&head](const char* column) { return head.text(0, head.indexOf(QString::fromLatin1(column))); };
    MaskEdit1->setText(text("c_date"));
    Box0->fill(text("meh"));
    showNumber(text("num"), false);
    {
        // Remarks written elsewhere may carry Windows line ends.
        QString rem = text("rem");
        rem.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        rem.replace(u'\r', u'\n');
        const QSignalBlocker quiet(Memo1);
        Memo1->setPlainText(rem);
    }
    const std::pair<const char*, widgets::UpperCombo*> car[] = {
        {"dev", Box1},     {"mod", Box2},   {"gnum", Box3},   {"region", Box4}, {"d_year", Box5},
        {"vin", Box6},     {"color", Box7}, {"engine", Box8}, {"engine2", Box81}, {"body", Box9},
        {"body2", Box91},  {"owner", Box10}, {"phone", Box11}};
    for (const auto& [column, box] : car) box->fill(text(column));
    Edit1->setText(text("car_km"));
    loadMileage(head);
    Car_id->setText(text("cr_fk"));

    Label20->setText(contracts::showLines(Grid_work, contracts::kWorkLines, workLines));
    Label21->setText(contracts::showLines(grid_sp, contracts::kSpareLines, spareLines));
    Label17->setText(rtl::FloatToStr(rtl::StrToFloat(Label21->text()) + rtl::StrToFloat(Label20->text())));
    GP7->load(rtl::StrToInt(key));
    loadAcceptance(key);
    showAuthors(key);
}

// ---- Lines --------------------------------------------------------------------------

void TCF::TakeCar(const cars::CarValues& car, const QString& key) {
    cars::CarFields::of(this).setValues(car);
    if (Car_id->text() != key) ToolButton8->setEnabled(true);
    Car_id->setText(key);
    proposeAddress(key);
}

void TCF::AppendWork(const QString& name, const QString& price) {
    contracts::appendLine(Grid_work, contracts::kWorkLines, name, QString(), price);
    ToolButton8->setEnabled(true);
}

void TCF::AppendSpare(const QString& name, const QString& quantity, const QString& price, const QString& art,
                      const QString& maker) {
    contracts::appendLine(grid_sp, contracts::kSpareLines, name, quantity, price, art, maker);
    ToolButton8->setEnabled(true);
}

void TCF::BitBtn3Click() { app::openModal(CF3, this); }
void TCF::BitBtn6Click() { app::openModal(CF4, this); }

void TCF::BitBtn5Click() {
    if (contracts::markOrRemoveLine(Grid_work, Grid_work->currentRow())) ToolButton8->setEnabled(true);
}

void TCF::BitBtn8Click() {
    if (contracts::markOrRemoveLine(grid_sp, grid_sp->currentRow())) ToolButton8->setEnabled(true);
}

void TCF::SaveWorks(int key) { contracts::saveLines(Grid_work, contracts::kWorkLines, key); }
void TCF::SaveSpares(int key) { contracts::saveLines(grid_sp, contracts::kSpareLines, key); }

// ---- Saving ---------------------------------------------------------------------------

bool TCF::InsertDoc() {
    fb::Query& q = DM->iDoc_Ins;
    q.close();
    q.setDate(QStringLiteral("c_date"), rtl::StrToDate(MaskEdit1->text()));
    q.setString(QStringLiteral("meh"), Box0->text());
    q.setString(QStringLiteral("rem"), Memo1->toPlainText());
    const QString marker = rtl::SysInfoMarker();
    q.setString(QStringLiteral("sysinfo"), marker);
    if (Car_id->text() == QStringLiteral("*")) {
        widgets::showMessage(QStringLiteral("Выберите машину!"), QStringLiteral("Ошибка"));
        return false;
    }
    const int car = rtl::StrToInt(Car_id->text());
    app::requireCar(car);
    q.setInteger(QStringLiteral("cr_fk"), car);
    DM->execCommit(q);
    DocId = app::readBackKey(QStringLiteral("Contracts"), marker);
    return true;
}

void TCF::UpdateDoc(const QString& key) {
    fb::Query& read = DM->iSQL;
    TDM::reset(read, QStringLiteral("SELECT cr_fk FROM Contracts WHERE pk_id = :pk_id"));
    read.setString(QStringLiteral("pk_id"), key);
    read.open();
    const bool found = read.recordCount() > 0;
    const int storedCar = found ? read.field(QStringLiteral("cr_fk")).asInteger() : 0;
    read.close();
    if (!found) throw app::RowGone(app::contractGoneText());

    fb::Query& q = DM->iDoc_Upd;
    q.close();
    q.setString(QStringLiteral("pk_id"), key);
    q.setDate(QStringLiteral("c_date"), rtl::StrToDate(MaskEdit1->text()));
    q.setString(QStringLiteral("num"), Edit0->text());
    q.setString(QStringLiteral("meh"), Box0->text());
    q.setString(QStringLiteral("rem"), Memo1->toPlainText());
    const int car = QString::number(storedCar) == Car_id->text() ? storedCar : rtl::StrToInt(Car_id->text());
    app::requireCar(car);
    q.setInteger(QStringLiteral("cr_fk"), car);
    DM->execCommit(q);
    // Deleted between the read and the update: nothing may be written.
    if (q.rowsAffected() == 0) throw app::RowGone(app::contractGoneText());
}

void TCF::ToolButton8Click() {
    const bool writing = NewDoc || EditDoc;
    const QString provisional = NewDoc ? shownNumber_ : QString();
    if (writing) {
        const widgets::Doing doing(QStringLiteral("Не удалось сохранить договор"),
                                   QStringLiteral("Договор не сохранён — сохраните ещё раз."));
        // Every typed price and quantity of the lines is converted, and every
        // amount checked, before the first statement.
        // The contract's total has to fit as well.
        const rtl::Money works = contracts::checkLines(Grid_work, contracts::kWorkLines);
        const rtl::Money spares = contracts::checkLines(grid_sp, contracts::kSpareLines);
        try {
            (void)(works + spares);
        } catch (const rtl::MoneyRangeError& e) {
            throw e.at(QStringLiteral("Итог договора"));
        }
        checkAcceptance();
        if (!checkMileage()) return;
        // The contract with all its lines is one unit: a failure anywhere
        // (a refused line, a lock, a lost server) writes none of it, and the
        // editor stays as it was, so the same save can simply be tried again.
        const int shownId = DocId;
        try {
            fb::WriteUnit unit(DM->IBTrans);
            if (NewDoc) {
                if (!InsertDoc()) return;
            } else {
                UpdateDoc(QString::number(DocId));
            }
            saveMileage(DocId);
            SaveWorks(DocId);
            SaveSpares(DocId);
            saveAcceptance(DocId);
            unit.commit();
        } catch (...) {
            DocId = shownId;
            throw;
        }
        if (NewDoc) {
            NewDoc = false;
            setGroupsEnabled(false);
            ToolButton4->setEnabled(true);
            ToolButton6->setEnabled(true);
        }
    }
    ToolButton8->setEnabled(false);
    LoadDoc(QString::number(DocId));
    if (!provisional.isEmpty() && Edit0->text() != provisional)
        app::showStatus(QStringLiteral("Договору присвоен номер ") + Edit0->text());
}

// ---- Tool bar, car and keys --------------------------------------------------------------

void TCF::ToolButton4Click() {
    EditDoc = true;
    setGroupsEnabled(true);
    MaskEdit1->setFocus();
}

void TCF::ToolButton6Click() { MF->PrintContractCard(QString::number(DocId)); }

void TCF::ToolButton14Click() { hide(); }

void TCF::BitBtn1Click() { app::openModal(CF2, this); }

void TCF::BitBtn9Click() {
    if (Car_id->text() != QStringLiteral("*")) HS->ShowCar(Car_id->text(), this);
}

void TCF::MaskEdit1Change() { noteHeaderChange(); }
void TCF::noteHeaderChange() { ToolButton8->setEnabled(true); }

void TCF::MaskEdit1KeyPress(QWidget* field) { focusNextField(field); }
void TCF::focusNextField(QWidget* field) { widgets::focusNext(field); }

void TCF::Memo1KeyPress() { BitBtn1->setFocus(Qt::TabFocusReason); }

// ---- Closing ----------------------------------------------------------------------------

void TCF::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (!e->spontaneous()) app::backToMain();
}

void TCF::closeEvent(QCloseEvent* e) {
    // Closing only hides the window; unsaved changes are dropped.
    e->accept();
    app::backToMain();
}
