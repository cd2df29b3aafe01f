#pragma once
// The main window: the journal of contracts with its filters, the menu and
// the tool bar that lead to every other window.
#include <QMainWindow>

class QAction;
class QMenu;
class QLabel;
class QPushButton;
class QStatusBar;
class QToolBar;
class QToolButton;
namespace widgets {
class StringGrid;
class UpperCombo;
}

class TMF : public QMainWindow {
    Q_OBJECT
public:
    explicit TMF(QWidget* parent = nullptr);

    bool FirstActivation = true;

    // Filters.
    widgets::UpperCombo *Box1, *Box2, *Box3, *Box4, *Box8, *Box81, *Box9, *Box91, *Box6, *Box10;
    widgets::UpperCombo* BoxPay;  // "ВСЕ" / "НЕОПЛАЧЕННЫЕ"; hidden without payments
    QPushButton* BitBtn1;
    widgets::StringGrid* Grid_doc;
    QStatusBar* SBar;
    QLabel* SBarPanels[5];

    QToolBar* ToolBar1;
    QToolButton *ToolButton2, *ToolButton4, *ToolButton6, *ToolButton8, *ToolButton24, *ToolButton26,
        *ToolButton28, *ToolButton30, *ToolButton32, *ToolButton34, *ToolButton36, *ToolButton14;
    QAction *N9, *N16, *N18, *N4, *N11111, *N31, *N7, *N10, *N5, *N11, *N12, *N13, *N2, *N6, *WEB1, *N20, *N19;
    QAction* N51;       // "Напоминания о ТО" (contracts/MFReminders.cpp)
    QMenu* N40;         // "Сервис"
    QAction *N41, *N42;  // backup, restore (contracts/MFService.cpp)
    QAction *N52, *N53;  // "Должники", "Касса"; off without payments
    QAction *N44, *N45;  // users, change log: the owner's (contracts/MFUsers.cpp)
    QAction *N54, *N55;  // mechanics' pay, revenue (contracts/MFOwner.cpp)
    QAction* N43;        // the shop's details (contracts/MFOrder.cpp)
    QAction* N56;        // the work order of the current row (contracts/MFOrder.cpp)

    // Shared with the other windows.
    void FillNameCombo(widgets::UpperCombo* box, const QString& table);
    void PrintContractCard(const QString& key);

    void FormActivate();
    void RefillJournal();
    // Opens contract `key` in view mode, as Enter on its journal row does.
    void OpenContract(const QString& key);

    static QString siteAddress();
    static QString supportAddress();

public slots:
    void ToolButton2Click();
    void ToolButton4Click();
    void ToolButton6Click();
    void ToolButton8Click();
    void N4Click();
    void N11111Click();
    void N31Click();
    void N7Click();
    void N10Click();
    void N5Click();
    void N11Click();
    void N12Click();
    void N13Click();
    void N6Click();
    void WEB1Click();
    void N20Click();
    void N19Click();
    void N41Click();
    void N42Click();
    void N52Click();
    void N53Click();
    void N44Click();
    void N45Click();
    void N51Click();
    void N54Click();
    void N55Click();
    // A contract asked for by another window, opened in view mode.
    void ViewContract(const QString& key, const QString& number);
    void N43Click();
    void N56Click();

private slots:
    void Box1Change();
    void Box8Change();
    void Box9Change();
    void Box3Change();
    void BitBtn1Click();
    void Grid_docKeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFilters(QWidget* area);
    void buildJournalGrid(QWidget* area);
    void connectHandlers();
    void buildToolBar();
    void buildMenu();
    void buildStatusBar();
    void buildRemindersItem(QMenu* reports);
    void updateSchemaItems();
};

extern TMF* MF;
