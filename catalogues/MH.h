#pragma once
// The mechanics directory: the names of the table meh.
#include "app/RowChanged.h"
#include "widgets/EntryModes.h"

#include <QDialog>
#include <optional>

namespace fb {
class Field;
class Query;
class RowSet;
}  // namespace fb
class QGridLayout;
class QGroupBox;
class QLabel;
class QToolBar;
class QToolButton;
namespace widgets {
class LineEdit;
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
    // The share of the labour (catalogues/MHRate.cpp); shown only on a
    // database that keeps it.
    QLabel* Label2;
    widgets::LineEdit* EditRate;
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
    // The share: its field and column, and the text of the field for the
    // statements (checked before anything is written).
    void buildRate(QGridLayout* fields);
    void showRateColumn();
    bool withRate() const;
    void bindRate(fb::Query& q) const;
    QString rateColumns() const;  // ", rate" with the share
    static std::optional<int> storedRate(const fb::RowSet& rows, int row);
    static std::optional<int> storedRate(const fb::Field& field);

    app::ShownRow editedFrom_;  // the name the list showed when Edit began
};

extern TMH* MH;
