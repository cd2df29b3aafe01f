#pragma once
// The mechanics directory: the names of the table meh.
#include "app/RowChanged.h"
#include "widgets/EntryModes.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QToolBar;
class QToolButton;
namespace widgets {
class StringGrid;
class UpperEdit;
}

class TMH : public QDialog, public widgets::EntryModes {
    Q_OBJECT
public:
    explicit TMH(QWidget* parent = nullptr);

    QToolBar* ToolBar1;
    QToolButton *ToolButton2, *ToolButton4, *ToolButton8, *ToolButton6, *ToolButton14;
    QGroupBox* GP;
    QLabel* Label1;
    widgets::UpperEdit* Edit1;
    widgets::StringGrid* Grid_meh;

public slots:
    void FormActivate();
    void Grid_mehClick();
    void Grid_mehKeyDown();
    void Edit1Change();
    void Edit1KeyPress(QChar key);  // Enter (13), Esc (27)
    void ToolButton2Click();
    void ToolButton4Click();
    void ToolButton8Click();
    void ToolButton6Click();
    void ToolButton14Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void clearFields() override;
    void showCurrentRow() override;
    void insertRow() override;
    void updateRow() override;
    void deleteRow() override;
    void reload() override { FormActivate(); }
    void keepShownRow() override;

    app::ShownRow editedFrom_;  // the name the list showed when Edit began
};

extern TMH* MH;
