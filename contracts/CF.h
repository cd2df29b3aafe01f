#pragma once
// The contract editor: one contract's header, its car and its work and
// spare-part lines, opened by the main window in new, view or edit mode.
#include "widgets/KeyLabel.h"

#include <QDate>
#include <QStringList>
#include <QWidget>

#include <vector>

class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QStatusBar;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolBar;
class QToolButton;
namespace cars {
struct CarValues;
}
namespace contracts { class PaymentsGroup; }
namespace fb {
class RowSet;
}
namespace widgets {
class DateEdit;
class StringGrid;
class UpperCombo;
class UpperEdit;
}

class TCF : public QWidget {
    Q_OBJECT
public:
    explicit TCF(QWidget* parent = nullptr);

    // The mode the main window opens the editor in: a new contract, editing,
    // or (neither) viewing. The main window sets one before it shows the
    // editor and clears both at its activation; the first save of a new
    // contract clears NewDoc, the editor's own Edit button sets EditDoc.
    bool NewDoc = false;
    bool EditDoc = false;
    void ClearMode() { NewDoc = EditDoc = false; }
    // The contract to open next instead of the journal's current one (a
    // report's list); used by that one opening.
    QString OpenKey;

    // State of the contract in the editor.
    int DocId = -1;
    widgets::KeyLabel* Car_id;  // hidden; "*" while no car is chosen

    // Groups and header.
    QGroupBox *GP1, *GP2, *GP3, *GP4;
    QLabel *Label23, *Label1, *Label2, *Label3;
    widgets::UpperEdit* Edit0;       // number, display only
    widgets::DateEdit* MaskEdit1;    // date
    widgets::UpperCombo* Box0;       // mechanic
    QPlainTextEdit* Memo1;           // remark
    QLabel *Label17, *Label20, *Label21;  // grand, works and spares totals

    // The visit's mileage and the next service; hidden while the database
    // has no place for them (contracts/CFMileage.cpp).
    widgets::UpperEdit* EditKm;      // mileage when the car came in
    widgets::DateEdit* DateNext;     // next service: date
    widgets::UpperEdit* EditNextKm;  // next service: mileage
    QLabel *LabelKm, *LabelNext;

    // Who created the contract and who changed it last (contracts/CFAuthors.cpp).
    QStatusBar* StatusBar1;
    QLabel* LabelAuthors;

    // Car fields, display only; written by the car picker.
    widgets::UpperCombo *Box1, *Box2, *Box3, *Box4, *Box5, *Box6, *Box7, *Box8, *Box81, *Box9, *Box91, *Box10,
        *Box11;
    widgets::UpperEdit* Edit1;  // mileage
    QPushButton* BitBtn1;       // "Выбрать машину"
    QPushButton* BitBtn9;       // the service history of the car; off while none is chosen

    // Lines.
    widgets::StringGrid *Grid_work, *grid_sp;
    QPushButton *BitBtn3, *BitBtn5, *BitBtn6, *BitBtn8;

    // Payments (contracts/CFPayments.cpp).
    contracts::PaymentsGroup* GP7;

    // Tool bar.
    QToolBar* ToolBar1;
    QToolButton *ToolButton4, *ToolButton8, *ToolButton6, *ToolButton14;
    // "Заказ-наряд" and "Приёмосдаточный акт" of the saved contract
    // (contracts/CFOrder.cpp).
    QPushButton *BitBtnOrder, *BitBtnAct;

    // "ПРИЁМ" and "Запчасти заказчика" (contracts/CFAcceptance.cpp); shown
    // when the database keeps them.
    QGroupBox *GP5, *GP6;
    widgets::DateEdit *MaskEditDeadline, *MaskEditDone;
    QLineEdit *EditAddress, *EditCarValue, *EditExtraLimit, *EditAcceptNote;
    QComboBox* BoxExtraRule;
    widgets::StringGrid* Grid_own;
    QLineEdit *EditOwnName, *EditOwnQty, *EditOwnNote;
    QPushButton *BitBtnOwnAdd, *BitBtnOwnDel;

    // Called by the pickers: a new line at the end of a grid; save enabled.
    void AppendWork(const QString& name, const QString& price);
    void AppendSpare(const QString& name, const QString& quantity, const QString& price, const QString& art = {},
                     const QString& maker = {});
    // Called by the car picker: the chosen car's fields and key; save enabled
    // when the car changed.
    void TakeCar(const cars::CarValues& car, const QString& key);

    void FormActivate();
    void LoadDoc(const QString& key);
    void ClearDoc();

public slots:
    void ToolButton4Click();
    void ToolButton8Click();
    void ToolButton6Click();
    void ToolButton14Click();
    void BitBtn1Click();
    void BitBtn9Click();
    void BitBtn3Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn8Click();
    void BitBtnOwnAddClick();
    void BitBtnOwnDelClick();
    void BitBtnOrderClick();
    void BitBtnActClick();
    void MaskEdit1Change();  // the date; the mechanic and the remark share it

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolBar();
    void buildOrderButtons();
    void buildAcceptance();
    void showAcceptance();                 // the groups shown as the database has them
    void clearAcceptance();
    void loadAcceptance(const QString& key);
    void buildAuthors();
    void showAuthors(const QString& key);
    void checkAcceptance();                // throws the first refusal, before any write
    void saveAcceptance(int key);          // in the save's write unit
    void proposeAddress(const QString& carKey);
    void showOwn();
    std::vector<QStringList> own_;         // the customer's parts: name, quantity, note
    // Printing needs the contract as stored: false (and the clerk told) while
    // it has changes not saved or was never saved.
    bool savedForPrinting();
    void buildHeader();
    void buildCar();
    void buildLines();
    void setNamesAndTabOrder();
    void setGroupsEnabled(bool on);  // all but the history button BitBtn9

    // A change of the contract's header (date, mechanic, remark): there is
    // something to save.
    void noteHeaderChange();
    void MaskEdit1KeyPress(QWidget* field);  // Enter in an entry field
    void focusNextField(QWidget* field);     // the next control in tab order
    void Memo1KeyPress();                     // Enter: BitBtn1
    void prepareOpening();
    static qint64 nextNumber();  // the generator's value plus one
    static bool numberIsProvisional();
    void showNumber(const QString& number, bool provisional);
    void showTotals(const QString& works, const QString& spares);
    bool InsertDoc();  // false when no car is chosen
    void UpdateDoc(const QString& key);
    void SaveWorks(int key);
    void SaveSpares(int key);

    // Mileage and next service (contracts/CFMileage.cpp).
    void buildMileage(QGridLayout* grid, int row);
    void showMileageFields();          // visible only where the database has them
    void clearMileage();
    void loadMileage(const fb::RowSet& head);
    void proposeNextService();         // a new contract's, from the shop's intervals
    bool checkMileage();               // before any write: false when the clerk is to correct
    void saveMileage(int key);         // inside the contract's write unit
    struct MileageInput {
        bool on = false;               // the database has the columns
        int km = -1, nextKm = -1;      // -1: none
        QDate nextDate;                // invalid: none
        int serviceMonths = 0, serviceKm = 0;  // the shop's intervals, read at opening
    } mileage_;
    bool nextDateTyped_ = false, nextKmTyped_ = false;  // the clerk's own; no longer proposed

    QFrame* Panel1 = nullptr;
    bool openingPending_ = false;  // the next activation prepares the mode
    QString shownNumber_;          // a new contract's provisional number, as shown
};

extern TCF* CF;
