#include "contracts/CF.h"

#include "app/WindowFlow.h"
#include "widgets/DateEdit.h"
#include "widgets/StringGrid.h"
#include "widgets/UpperCombo.h"
#include "widgets/UpperEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

TCF* CF = nullptr;

// Placeholder until the editor is built: the controls exist, the handlers do nothing.
TCF::TCF(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("CF"));
    setWindowTitle(QStringLiteral("Договор"));
    Car_id = new QLabel(QStringLiteral("*"), this);
    Car_id->hide();
    GP1 = new QGroupBox(this);
    GP2 = new QGroupBox(this);
    GP3 = new QGroupBox(this);
    GP4 = new QGroupBox(this);
    Label23 = new QLabel(this);
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    Edit0 = new widgets::UpperEdit(this);
    MaskEdit1 = new widgets::DateEdit(this);
    Box0 = new widgets::UpperCombo(this);
    Memo1 = new QPlainTextEdit(this);
    Label17 = new QLabel(this);
    Label20 = new QLabel(this);
    Label21 = new QLabel(this);
    for (widgets::UpperCombo** b : {&Box1, &Box2, &Box3, &Box4, &Box5, &Box6, &Box7, &Box8, &Box81, &Box9, &Box91,
                                    &Box10, &Box11})
        *b = new widgets::UpperCombo(this);
    Edit1 = new widgets::UpperEdit(this);
    BitBtn1 = new QPushButton(this);
    Grid_work = new widgets::StringGrid(this);
    grid_sp = new widgets::StringGrid(this);
    BitBtn3 = new QPushButton(this);
    BitBtn5 = new QPushButton(this);
    BitBtn6 = new QPushButton(this);
    BitBtn8 = new QPushButton(this);
    ToolBar1 = new QToolBar(this);
    ToolButton4 = new QToolButton(this);
    ToolButton8 = new QToolButton(this);
    ToolButton6 = new QToolButton(this);
    ToolButton14 = new QToolButton(this);
}

void TCF::AppendWork(const QString&, const QString&) {}
void TCF::AppendSpare(const QString&, const QString&, const QString&) {}
void TCF::FormActivate() {}
void TCF::LoadDoc(const QString&) {}
void TCF::ClearDoc() {}
void TCF::ToolButton4Click() {}
void TCF::ToolButton8Click() {}
void TCF::ToolButton6Click() {}
void TCF::ToolButton14Click() { hide(); }
void TCF::BitBtn1Click() {}
void TCF::BitBtn3Click() {}
void TCF::BitBtn5Click() {}
void TCF::BitBtn6Click() {}
void TCF::BitBtn8Click() {}
void TCF::MaskEdit1Change() {}
void TCF::showEvent(QShowEvent* e) { QWidget::showEvent(e); }
void TCF::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    app::backToMain();
}
void TCF::closeEvent(QCloseEvent* e) { QWidget::closeEvent(e); }
