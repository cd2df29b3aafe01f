#pragma once
// The work and spare pickers, twins: the price catalogue filtered by the
// beginning of the typed name; a catalogue row is taken, or a new name and
// price typed (and added to the catalogue), and the line goes to the
// contract editor. Their differences are one table (LinePickerKind).
#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class TDM;
namespace fb { class Query; }
namespace widgets {
class StringGrid;
class UpperCombo;
class UpperEdit;
}

struct LinePickerKind {
    const char* instanceName;
    const char* caption;
    bool sizeable;
    int width, height;
    const char* nameLabel;
    bool hasQuantity;  // Edit2, the quantity, after the price
    const char* gridName;
    const char* nameTitle;
    int priceWidth;
    const char* keyName;  // the hidden key label: its name and first text
    const char* table;    // the catalogue
    int nameLength;       // of the catalogue's name column
    fb::Query TDM::*filter;
    fb::Query TDM::*insert;
    // The hand-over to the contract editor (quantity empty for a work; the
    // article and maker of the taken row, empty for a work).
    void (*append)(const QString& name, const QString& quantity, const QString& price, const QString& art,
                   const QString& maker);
    // Spares: the filter by the name or the article number, where the
    // database has the article and maker (null for works).
    fb::Query TDM::*articleFilter;
};

// The two rows of the table.
extern const LinePickerKind kWorkPicker;
extern const LinePickerKind kSparePicker;

class LinePicker : public QDialog {
    Q_OBJECT
public:
    QGroupBox *GroupBox1, *GroupBox2;
    QLabel *Label1, *Label3;
    QLabel* Label2 = nullptr;  // spare picker only
    widgets::UpperCombo* Box1;  // name
    widgets::UpperEdit* Edit1;  // price
    widgets::UpperEdit* Edit2 = nullptr;  // quantity, spare picker only
    QPushButton* BitBtn1;  // confirm

    void FormActivate();
    void FillList();
    void PickRow();
    void AddLine();

    const LinePickerKind& kind() const { return kind_; }
    widgets::StringGrid* grid() const { return grid_; }
    QLabel* keyLabel() const { return key_; }
    // The article and maker of the taken row, handed over with the line;
    // empty when no row is taken or the name was typed since.
    QString article() const { return art_; }
    QString maker() const { return maker_; }

    // Called after each line handed over, with (name, quantity, price); for tests.
    using HandOverWatch = std::function<void(const QString&, const QString&, const QString&)>;
    static void watchHandOver(HandOverWatch watch);

    // The grid's handlers (Grid_workKeyPress / Grid_spKeyPress and the
    // double clicks): Enter or a double click takes the row, Esc closes.
    void GridKeyPress(int key);
    void GridDblClick();

public slots:
    void BitBtn1Click();

protected:
    LinePicker(const LinePickerKind& kind, QWidget* parent);

private slots:
    void Box1Change();

private:
    QGroupBox* buildEntryGroup();
    QGroupBox* buildCatalogueGroup();
    void Box1KeyPress(QWidget* field);
    void LastFieldKeyPress();
    void AddToCatalogue();
    void checkAmount() const;
    QStringList titles() const;
    bool articles() const;
    void setColumns(bool articles);
    void forgetArticle();

    const LinePickerKind& kind_;
    widgets::StringGrid* grid_;
    QLabel* key_;
    QString art_, maker_;
};
