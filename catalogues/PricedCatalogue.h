#pragma once
// The priced catalogue window, shared by the works catalogue (VR) and the
// spare-parts catalogue (SP): the whole catalogue in name order, and adding,
// editing and deleting a row of name and price. What the two windows differ
// in is one table of PricedCatalogueConfig; the spares window adds the
// article number and the maker of a part (addArticleFields).
#include "app/RowChanged.h"
#include "fb/Query.h"
#include "widgets/EntryModes.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QToolBar;
class QToolButton;
class TDM;
namespace widgets {
class StringGrid;
class UpperCombo;
class UpperEdit;
}

struct PricedCatalogueConfig {
    const char* objectName;
    const char* caption;
    bool resizable;             // works: sizeable with every title-bar button; spares: fixed
    fb::Query TDM::*list;       // "SELECT * FROM <table> ORDER BY name"
    fb::Query TDM::*insert;
    fb::Query TDM::*update;
    const char* reread;         // one row by its key
    const char* remove;         // delete one row by its key
    const char* nameLabel;
    const char* gridName;
    int widths[3];
    const char* nameTitle;      // title of column 1
    const char* saveHint;
    const char* deleteName;     // the delete button
};

class PricedCatalogue : public QDialog, public widgets::EntryModes {
    Q_OBJECT
public:
    PricedCatalogue(const PricedCatalogueConfig& config, QWidget* parent);

    QToolBar* ToolBar1;
    QToolButton *ToolButton2, *ToolButton4, *ToolButton8, *ToolButton14;
    QGroupBox* GP;
    QLabel *Label1, *Label3;
    widgets::UpperCombo* Box1;  // name
    widgets::UpperEdit* Edit1;  // price
    QGroupBox* GroupBox1;
    // Article number and maker, a second line of fields (spares only; hidden
    // on a database without the columns).
    QLabel *LabelArt = nullptr, *LabelMaker = nullptr;
    widgets::UpperEdit *EditArt = nullptr, *EditMaker = nullptr;

public slots:
    void FormActivate();
    void ToolButton2Click();
    void ToolButton4Click();
    void ToolButton8Click();
    void ToolButton14Click();
    void Box1Change();
    // Enter (13) and Esc (27) typed into either field.
    void Box1KeyPress(QWidget* field, QChar key);

protected:
    // The list and the delete button, which carry other names in each window.
    widgets::StringGrid* list() const { return list_; }
    QToolButton* deleteButton() const { return delete_; }
    void DeleteClick();
    void GridClick();
    void GridKeyDown();
    // Adds the article and maker fields and their columns; where the database
    // has them, rows are written by these statements instead of the fixed ones.
    void addArticleFields(fb::Query TDM::*insert, fb::Query TDM::*update);

    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadCurrentRow();
    void InsertRecord();
    void UpdateRecord();
    // The hooks of the modes.
    void clearFields() override;
    void showCurrentRow() override { LoadCurrentRow(); }
    void insertRow() override { InsertRecord(); }
    void updateRow() override { UpdateRecord(); }
    void deleteRow() override;
    void reload() override { FormActivate(); }
    void keepShownRow() override { editedFrom_ = shown_; }
    bool articles() const;  // the fields exist and the database has the columns
    void setListColumns(bool articles);
    // The texts of a row as the fields show them: name, price (, article, maker).
    QStringList rowTexts(const fb::Query& q) const;
    QStringList captions() const;

    const PricedCatalogueConfig& config_;
    app::ShownRow shown_;       // name and price of the row the fields last showed
    app::ShownRow editedFrom_;  // the same when Edit began
    widgets::StringGrid* list_;
    QToolButton* delete_;
    QWidget* articleRow_ = nullptr;
    fb::Query TDM::*insertArt_ = nullptr;
    fb::Query TDM::*updateArt_ = nullptr;
};
