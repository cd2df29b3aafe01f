#include "about/Hst.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

THst* Hst = nullptr;

THst::THst(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Hst"));
    setWindowTitle(QStringLiteral("История версий"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Memo1 = new QPlainTextEdit(panel);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setPlainText(QStringLiteral("31.12.2013  \n"
                                       "Вышла версия 1.0. На первый наивный взгляд ошибок нет и быть не может, но "
                                       "почему-то постоянно \n"
                                       "хочется еще что-нибудь переписать..."));
    Memo1->setReadOnly(true);
    Memo1->setEnabled(false);
    auto* pl = new QVBoxLayout(panel);
    pl->addWidget(Memo1);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    auto* l = new QVBoxLayout(this);
    l->addWidget(panel);
    l->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(520, 220);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}
