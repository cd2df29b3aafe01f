#pragma once
// The car directory: every car of Cars, and adding, correcting and deleting
// cars outside any contract. The fields are those of the car picker; here
// they never filter and are read-only while browsing.
#include "app/RowChanged.h"
#include "cars/CarFields.h"
#include "widgets/EntryModes.h"

#include <QWidget>

#include <memory>

class QGroupBox;
class QHBoxLayout;
class QToolBar;
class QToolButton;
namespace cars { class CarSearch; }
namespace fb { class RowSet; }
namespace widgets {
class StringGrid;
class UpperEdit;
}

class TDC : public QWidget, public cars::CarFields, public widgets::EntryModes {
    Q_OBJECT
public:
    explicit TDC(QWidget* parent = nullptr);

    QToolBar* ToolBar1;
    QToolButton *ToolButton2, *ToolButton4, *ToolButton8, *ToolButton7, *ToolButton14;
    QToolButton* ToolButton16;  // the service history of the current car
    QGroupBox* GP;  // holds Box1 ... Edit1
    widgets::UpperEdit* EditFind;  // "ПОИСК": narrows the list as it is typed
    widgets::StringGrid* Grid_cars;

    // The fields show the current car, or nothing when the list shows none.
    void ShowCurrentCar();

public slots:
    void FormActivate();
    void Grid_carsClick();
    void Grid_carsKeyDown();
    void Box1KeyPress(QWidget* field, QChar key);  // Enter (13), Esc (27)
    void Box1Change();
    void Box8Change();
    void Box9Change();
    void Box2Change();
    void Box81Change();
    void Box91Change();
    void Box3Change();
    void ToolButton2Click();
    void ToolButton4Click();
    void ToolButton8Click();
    void ToolButton7Click();
    void ToolButton14Click();
    void ToolButton16Click();
    void EditFindChange();
    void FormHide();

protected:
    bool event(QEvent* event) override;  // notes when the window stops being the active one
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildToolBar();
    QHBoxLayout* buildSearch();
    void buildList();
    void connectHandlers();
    void InsertCar();
    void UpdateCar();
    // The hooks of the modes.
    void clearFields() override { clear(); }
    void showCurrentRow() override { ShowCurrentCar(); }
    void insertRow() override { InsertCar(); }
    void updateRow() override { UpdateCar(); }
    void deleteRow() override;
    void reload() override { FormActivate(); }
    void afterWrite() override { ensureDictionaries(); }
    void keepShownRow() override { editedFrom_ = shown_; }
    void showCars(fb::RowSet rows);  // the list, narrowed by the search field
    // The window became the active one: a new opening starts with an empty
    // search; coming back re-reads the list, which another workstation may
    // have changed meanwhile, keeping the current car and the search.
    void activated();
    void selectCar(const QString& key);  // its row, when the list shows it

    app::ShownRow shown_;       // the stored car the fields last showed
    app::ShownRow editedFrom_;  // the same when Edit began

    std::shared_ptr<const cars::CarSearch> search_;  // over the rows last read
    bool opening_ = true;  // shown from hidden, not yet activated
    bool away_ = false;    // another window was active since the list was read
};

extern TDC* DC;
