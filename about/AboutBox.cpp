#include "about/AboutBox.h"

#include "app/Addresses.h"
#include "widgets/Icons.h"
#include "widgets/Links.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox* AboutBox = nullptr;

// ---- TAboutBox -----------------------------------------------------------------

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ProductName = new QLabel(QStringLiteral("Торквиль v. 1.0"), panel);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont big = ProductName->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    ProductName->setFont(big);
    Image1 = new QLabel(panel);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(widgets::icon(widgets::Glyph::Car).pixmap(64, 64));
    Image1->setFixedSize(72, 72);
    Image1->setScaledContents(true);
    Label1 = new QLabel(QStringLiteral("Ошибки, вопросы и пожелания присылайте на адрес "), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label4 = new widgets::LinkLabel(app::supportAddress(), panel);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label3 = new QLabel(QStringLiteral("Новые версии этой и других программ на сайте"), panel);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label5 = new widgets::LinkLabel(app::siteAddress(), panel);
    Label5->setObjectName(QStringLiteral("Label5"));

    auto* head = new QHBoxLayout;
    head->addWidget(Image1);
    head->addWidget(ProductName, 1);
    auto* pl = new QVBoxLayout(panel);
    pl->addLayout(head);
    pl->addSpacing(8);
    pl->addWidget(Label1);
    pl->addWidget(Label4);
    pl->addSpacing(6);
    pl->addWidget(Label3);
    pl->addWidget(Label5);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    auto* l = new QVBoxLayout(this);
    l->addWidget(panel);
    l->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(380, 240)));

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Label4, &widgets::LinkLabel::clicked, this, &TAboutBox::Label4Click);
    connect(Label5, &widgets::LinkLabel::clicked, this, &TAboutBox::Label5Click);
}

void TAboutBox::Label4Click() { widgets::openLink(QStringLiteral("mailto:") + app::supportAddress()); }
void TAboutBox::Label5Click() { widgets::openLink(app::siteAddress()); }
