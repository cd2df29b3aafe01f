#pragma once
// The two-level name dictionary window, shared by makes and models (SM),
// engines and their specifications (SE) and bodies and their specifications
// (SB): master names on the left, the detail names of the selected master on
// the right, each level with add, rename, save and delete. The three windows
// differ in one table of TwoLevelDictionaryConfig.
#include "app/Dictionaries.h"
#include "app/RowChanged.h"

#include <QWidget>

class QGroupBox;
class QPushButton;
namespace widgets {
class StringGrid;
class UpperEdit;
}

struct TwoLevelDictionaryConfig {
    const char* objectName;
    const char* caption;
    app::DictionaryTables tables;
    const char* masterTitle;   // " ФИРМА"
    const char* detailTitle;   // " МОДЕЛИ"
    const char* refusal;       // deleting a master that has details
    int detailLength;          // width of the detail table's name column
};

class TwoLevelDictionary : public QWidget {
    Q_OBJECT
public:
    TwoLevelDictionary(const TwoLevelDictionaryConfig& config, QWidget* parent);

    // Shared by both levels; one operation is pending at a time, and the
    // level it belongs to is kept with it.
    bool Adding = false;
    bool Editing = false;

    QGroupBox *Gp1, *GroupBox3, *Gp2, *Gp4, *GroupBox6, *Gp5;
    QPushButton *BitBtn11, *BitBtn12, *BitBtn13, *BitBtn14;
    QPushButton *BitBtn21, *BitBtn22, *BitBtn23, *BitBtn24;
    widgets::UpperEdit *Edit1, *Edit2;
    widgets::StringGrid *Grid_dev, *Grid_mod;

public slots:
    void FormActivate();
    void Grid_devClick();
    void Grid_devKeyDown();
    void Grid_modClick();
    void Grid_modKeyDown();
    void BitBtn11Click();
    void BitBtn12Click();
    void BitBtn13Click();
    void BitBtn14Click();
    void BitBtn21Click();
    void BitBtn22Click();
    void BitBtn23Click();
    void BitBtn24Click();
    void Edit1Change();
    void Edit2Change();
    void Edit1KeyPress(QChar key);  // Enter (13), Esc (27)
    void Edit2KeyPress(QChar key);
    void FormHide();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    enum class Level { None, Master, Detail };
    // A level's controls, table and routines.
    struct Side {
        widgets::UpperEdit* edit;
        widgets::StringGrid* grid;
        QPushButton *add, *rename, *save;
        QWidget *otherButtons, *otherList;  // the other level's, locked while an operation is pending
        const char* table;                  // "{M}" or "{D}" in the statement patterns
        QString (TwoLevelDictionary::*key)() const;
        void (TwoLevelDictionary::*fill)();
        void (TwoLevelDictionary::*show)();  // the name of the current row into the field
    };
    Side side(Level level) const;
    void startAdding(Level level);
    void startRenaming(Level level);
    void noteChange(Level level);
    void keyPress(Level level, QChar key);
    void saveLevel(Level level);
    void deleteFrom(Level level);

    void ClearMasterGrid();
    void ClearDetailGrid();
    void FillMasterGrid();
    void FillDetailGrid();
    void ReloadGrids();
    void unlockAll();
    void cancelPending();
    void fillGrid(widgets::StringGrid* grid, const QString& sql, const QString& key, const char* title);
    QString masterKey() const;
    QString detailKey() const;
    bool masterHasDetails(const QString& key);
    QString statement(const char* pattern) const;
    // Inside the rename's write unit: the row still has the name the list
    // showed when the rename began (app::requireUnchanged).
    void requireNameUnchanged(Level level);

    const TwoLevelDictionaryConfig& config_;
    Level level_ = Level::None;
    app::ShownRow renamedFrom_;  // key and listed name of the row being renamed
};
