#pragma once
// "Реквизиты автосервиса": the shop's details that its documents print,
// entered once and stored in the database for every workstation.
#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
namespace app { struct ShopDetails; }

class TRQ : public QDialog {
    Q_OBJECT
public:
    explicit TRQ(QWidget* parent = nullptr);

    QLineEdit *EditShopName, *EditShopForm, *EditInn, *EditOgrn, *EditShopAddress, *EditShopPhone, *EditShopEmail,
        *EditTakerPosition, *EditTakerName;
    QPlainTextEdit *MemoBank, *MemoWarranty, *MemoTerms;
    QPushButton *BitBtnRqSave, *BitBtnRqClose;

    // The stored details into the fields.
    void LoadDetails();
    // The details as the fields hold them.
    app::ShopDetails shownDetails() const;

public slots:
    // Stores the details after their checks; a refused one is named in the
    // message, its field gets the focus and nothing is stored.
    void BitBtnRqSaveClick();

protected:
    void showEvent(QShowEvent* event) override;
};

extern TRQ* RQ;
