// torquil-templates OUTDIR: writes the shipped forms OUTDIR/print.xlsx (the
// contract card a customer takes home) and OUTDIR/svod.xlsx (the summary).
// Cells and defined names follow office/Templates.h, which the filling code uses.
#include "office/Templates.h"

#include <QDir>
#include <QString>
#include <cstdio>
#include <string>
#include <xlsxwriter.h>

namespace {

using namespace office;

// Russian separators whatever the reader's locale; the third section
// leaves zero blank on empty line rows.
constexpr char kMoney[] = "[$-419]#,##0.00";
constexpr char kMoneyBlankZero[] = "[$-419]#,##0.00;[$-419]-#,##0.00;";
constexpr char kQuantity[] = "[$-419]0.###;[$-419]-0.###;";
constexpr char kFont[] = "Arial";
constexpr lxw_color_t kHeaderFill = 0xE7E6E6;
constexpr lxw_color_t kGrey = 0x595959;

struct Style {
    double size = 10;
    bool bold = false;
    bool italic = false;
    uint8_t align = LXW_ALIGN_LEFT;
    uint8_t valign = LXW_ALIGN_VERTICAL_CENTER;
    uint8_t border = LXW_BORDER_NONE; // all four sides
    uint8_t top = LXW_BORDER_NONE;
    uint8_t bottom = LXW_BORDER_NONE;
    bool wrap = false;
    int16_t rotation = 0;
    const char* numFormat = nullptr;
    lxw_color_t fill = LXW_COLOR_UNSET;
    lxw_color_t color = LXW_COLOR_UNSET;
    uint8_t indent = 0;
};

lxw_format* format(lxw_workbook* wb, const Style& s)
{
    lxw_format* f = workbook_add_format(wb);
    format_set_font_name(f, kFont);
    format_set_font_size(f, s.size);
    if (s.bold)
        format_set_bold(f);
    if (s.italic)
        format_set_italic(f);
    format_set_align(f, s.align);
    format_set_align(f, s.valign);
    if (s.border)
        format_set_border(f, s.border);
    if (s.top)
        format_set_top(f, s.top);
    if (s.bottom)
        format_set_bottom(f, s.bottom);
    if (s.wrap)
        format_set_text_wrap(f);
    if (s.rotation)
        format_set_rotation(f, s.rotation);
    if (s.numFormat)
        format_set_num_format(f, s.numFormat);
    if (s.fill != LXW_COLOR_UNSET) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, s.fill);
    }
    if (s.color != LXW_COLOR_UNSET)
        format_set_font_color(f, s.color);
    if (s.indent)
        format_set_indent(f, s.indent);
    return f;
}

// Rows and columns as the forms name them: row 1, column 'A'.
lxw_row_t row(int r) { return lxw_row_t(r - 1); }
lxw_col_t col(char c) { return lxw_col_t(c - 'A'); }

void merge(lxw_worksheet* ws, int r1, char c1, int r2, char c2, const char* text, lxw_format* f)
{
    if (r1 == r2 && c1 == c2)
        worksheet_write_string(ws, row(r1), col(c1), text, f);
    else
        worksheet_merge_range(ws, row(r1), col(c1), row(r2), col(c2), text, f);
}

void height(lxw_worksheet* ws, int r, double points)
{
    worksheet_set_row(ws, row(r), points, nullptr);
}

std::string quoted(const char* sheet)
{
    return std::string("'") + sheet + "'!";
}

bool check(lxw_error err, const QString& what)
{
    if (err == LXW_NO_ERROR)
        return true;
    std::fprintf(stderr, "torquil-templates: %s: %s\n", what.toLocal8Bit().constData(), lxw_strerror(err));
    return false;
}

// The library refuses (or cuts) formulas of 128 bytes and more.
bool define(lxw_workbook* wb, const std::string& name, const std::string& formula)
{
    const std::string text = "=" + formula;
    if (text.size() >= LXW_DEFINED_NAME_LENGTH) {
        std::fprintf(stderr, "torquil-templates: the name %s is too long: %s\n", name.c_str(), text.c_str());
        return false;
    }
    return check(workbook_define_name(wb, name.c_str(), text.c_str()), QString::fromStdString(name));
}

std::string rows(const std::string& sheet, char c1, int r1, char c2, int r2)
{
    return sheet + "$" + c1 + "$" + std::to_string(r1) + ":$" + c2 + "$" + std::to_string(r2);
}

bool writeCard(const QString& path)
{
    lxw_workbook* wb = workbook_new(path.toLocal8Bit().constData());
    if (!wb)
        return check(LXW_ERROR_CREATING_TMPFILE, path);
    lxw_worksheet* ws = workbook_add_worksheet(wb, card::SheetName);

    lxw_format* base = format(wb, {});
    lxw_format* shop = format(wb, {.size = 14, .bold = true});
    lxw_format* shopInfo = format(wb, {.size = 8, .color = kGrey});
    lxw_format* titleLabel = format(wb, {.size = 11, .bold = true, .align = LXW_ALIGN_RIGHT, .indent = 1});
    lxw_format* fromLabel = format(wb, {.size = 10, .align = LXW_ALIGN_RIGHT, .indent = 1});
    lxw_format* number = format(wb, {.size = 12, .bold = true, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_MEDIUM});
    lxw_format* date = format(wb, {.size = 10, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN});
    lxw_format* block = format(wb, {.size = 10, .bold = true, .valign = LXW_ALIGN_VERTICAL_BOTTOM, .bottom = LXW_BORDER_MEDIUM});
    lxw_format* label = format(wb, {.size = 9, .color = kGrey});
    lxw_format* value = format(wb, {.size = 10, .bottom = LXW_BORDER_HAIR});
    lxw_format* head = format(wb, {.size = 9, .bold = true, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN,
                                   .wrap = true, .fill = kHeaderFill});
    lxw_format* section = format(wb, {.size = 8, .bold = true, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN,
                                      .rotation = 90, .fill = kHeaderFill});
    lxw_format* name = format(wb, {.size = 10, .border = LXW_BORDER_THIN, .indent = 1});
    lxw_format* cellBox = format(wb, {.size = 10, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN});
    lxw_format* qty = format(wb, {.size = 10, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN, .numFormat = kQuantity});
    lxw_format* money = format(wb, {.size = 10, .align = LXW_ALIGN_RIGHT, .border = LXW_BORDER_THIN, .numFormat = kMoneyBlankZero});
    // The first spare row opens its section with a heavier line.
    lxw_format* nameTop = format(wb, {.size = 10, .border = LXW_BORDER_THIN, .top = LXW_BORDER_MEDIUM, .indent = 1});
    lxw_format* qtyTop = format(wb, {.size = 10, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN,
                                     .top = LXW_BORDER_MEDIUM, .numFormat = kQuantity});
    lxw_format* moneyTop = format(wb, {.size = 10, .align = LXW_ALIGN_RIGHT, .border = LXW_BORDER_THIN,
                                       .top = LXW_BORDER_MEDIUM, .numFormat = kMoneyBlankZero});
    lxw_format* sectionTop = format(wb, {.size = 8, .bold = true, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN,
                                         .top = LXW_BORDER_MEDIUM, .rotation = 90, .fill = kHeaderFill});
    lxw_format* totalLabel = format(wb, {.size = 10, .align = LXW_ALIGN_RIGHT, .indent = 1});
    lxw_format* total = format(wb, {.size = 10, .align = LXW_ALIGN_RIGHT, .border = LXW_BORDER_THIN, .numFormat = kMoney});
    lxw_format* grandLabel = format(wb, {.size = 11, .bold = true, .align = LXW_ALIGN_RIGHT, .indent = 1});
    lxw_format* grand = format(wb, {.size = 11, .bold = true, .align = LXW_ALIGN_RIGHT, .border = LXW_BORDER_MEDIUM,
                                    .numFormat = kMoney});
    lxw_format* terms = format(wb, {.size = 8, .italic = true, .valign = LXW_ALIGN_VERTICAL_TOP, .wrap = true,
                                    .color = kGrey});
    lxw_format* remarkLabel = format(wb, {.size = 9, .bold = true, .valign = LXW_ALIGN_VERTICAL_BOTTOM});
    lxw_format* remark = format(wb, {.size = 10, .valign = LXW_ALIGN_VERTICAL_TOP, .border = LXW_BORDER_THIN,
                                     .wrap = true, .indent = 1});
    lxw_format* consent = format(wb, {.size = 8, .valign = LXW_ALIGN_VERTICAL_TOP, .wrap = true});
    lxw_format* signLabel = format(wb, {.size = 9, .valign = LXW_ALIGN_VERTICAL_BOTTOM});
    lxw_format* signLine = format(wb, {.size = 9, .bottom = LXW_BORDER_THIN});
    lxw_format* signHint = format(wb, {.size = 7, .align = LXW_ALIGN_CENTER, .valign = LXW_ALIGN_VERTICAL_TOP,
                                       .color = kGrey});

    // 19 narrow columns: the grid the printed form's cells are laid on.
    worksheet_set_column(ws, col('A'), col('A'), 3.3, base);
    worksheet_set_column(ws, col('B'), col('S'), 4.6, base);
    worksheet_set_column(ws, col('T'), col('Z'), 8.43, base);

    // Shop, number and date.
    height(ws, 1, 24);
    merge(ws, 1, 'A', 1, 'M', ShopBlank, shop);
    merge(ws, 1, 'N', 1, 'P', "ЗАКАЗ-НАРЯД №", titleLabel);
    merge(ws, 1, 'Q', 1, 'S', "", number);
    height(ws, 2, 16);
    merge(ws, 2, 'A', 2, 'M', ShopInfoBlank, shopInfo);
    merge(ws, 2, 'N', 2, 'P', "от", fromLabel);
    merge(ws, 2, 'Q', 2, 'S', "", date);

    // Car and customer.
    height(ws, 3, 22);
    merge(ws, 3, 'A', 3, 'I', "АВТОМОБИЛЬ", block);
    merge(ws, 3, 'K', 3, 'S', "ЗАКАЗЧИК", block);
    const char* carLabels[] = {"Марка, модель", "Гос. номер, регион", "Год выпуска", "VIN",
                               "Цвет", "Двигатель", "Кузов", "Пробег, км"};
    for (int i = 0; i < 8; ++i) {
        const int r = 4 + i;
        height(ws, r, 16);
        merge(ws, r, 'A', r, 'D', carLabels[i], label);
        merge(ws, r, 'E', r, 'I', "", value);
    }
    merge(ws, 4, 'K', 4, 'N', "Владелец", label);
    merge(ws, 4, 'O', 4, 'S', "", value);
    merge(ws, 5, 'K', 5, 'N', "Телефон", label);
    merge(ws, 5, 'O', 5, 'S', "", value);
    merge(ws, 8, 'K', 8, 'S', "ИСПОЛНИТЕЛЬ", block);
    merge(ws, 9, 'K', 9, 'N', "Мастер", label);
    merge(ws, 9, 'O', 9, 'S', "", value);

    // Lines: works then spare parts, one table.
    height(ws, 12, 9);
    height(ws, 13, 27);
    worksheet_write_blank(ws, row(13), col('A'), head);
    merge(ws, 13, 'B', 13, 'M', "Наименование работ и запасных частей", head);
    merge(ws, 13, 'N', 13, 'O', "Кол-во", head);
    merge(ws, 13, 'P', 13, 'Q', "Цена, руб.", head);
    merge(ws, 13, 'R', 13, 'S', "Сумма, руб.", head);
    const int workLast = card::WorkFirstRow + card::WorkRows - 1;
    const int spareLast = card::SpareFirstRow + card::SpareRows - 1;
    merge(ws, card::WorkFirstRow, 'A', workLast, 'A', "РАБОТЫ", section);
    for (int r = card::WorkFirstRow; r <= workLast; ++r) {
        height(ws, r, 15);
        merge(ws, r, 'B', r, 'M', "", name);
        merge(ws, r, 'N', r, 'O', "", cellBox);
        merge(ws, r, 'P', r, 'Q', "", cellBox);
        merge(ws, r, 'R', r, 'S', "", money);
    }
    merge(ws, card::SpareFirstRow, 'A', spareLast, 'A', "ЗАПЧАСТИ", sectionTop);
    for (int r = card::SpareFirstRow; r <= spareLast; ++r) {
        const bool first = r == card::SpareFirstRow;
        height(ws, r, 15);
        merge(ws, r, 'B', r, 'M', "", first ? nameTop : name);
        merge(ws, r, 'N', r, 'O', "", first ? qtyTop : qty);
        merge(ws, r, 'P', r, 'Q', "", first ? moneyTop : money);
        merge(ws, r, 'R', r, 'S', "", first ? moneyTop : money);
        const std::string sum = "=N" + std::to_string(r) + "*P" + std::to_string(r);
        worksheet_write_formula(ws, row(r), col('R'), sum.c_str(), first ? moneyTop : money);
    }

    // Totals.
    const std::string works = "SUM(R" + std::to_string(card::WorkFirstRow) + ":R" + std::to_string(workLast) + ")";
    const std::string spares = "SUM(R" + std::to_string(card::SpareFirstRow) + ":R" + std::to_string(spareLast) + ")";
    const std::string worksCell = "R" + std::to_string(card::WorksTotalRow);
    const std::string sparesCell = "R" + std::to_string(card::SparesTotalRow);
    for (int r = card::WorksTotalRow; r <= card::GrandTotalRow; ++r)
        height(ws, r, r == card::GrandTotalRow ? 19 : 16);
    merge(ws, card::WorksTotalRow, 'B', card::GrandTotalRow, 'K',
          "Гарантия на выполненные работы — 30 дней или 1000 км пробега, на установленные "
          "запасные части — по условиям изготовителя.",
          terms);
    merge(ws, card::WorksTotalRow, 'L', card::WorksTotalRow, 'Q', "Итого за работы:", totalLabel);
    merge(ws, card::WorksTotalRow, 'R', card::WorksTotalRow, 'S', "", total);
    worksheet_write_formula(ws, row(card::WorksTotalRow), col('R'), ("=" + works).c_str(), total);
    merge(ws, card::SparesTotalRow, 'L', card::SparesTotalRow, 'Q', "Итого за запчасти:", totalLabel);
    merge(ws, card::SparesTotalRow, 'R', card::SparesTotalRow, 'S', "", total);
    worksheet_write_formula(ws, row(card::SparesTotalRow), col('R'), ("=" + spares).c_str(), total);
    merge(ws, card::GrandTotalRow, 'L', card::GrandTotalRow, 'Q', "ВСЕГО К ОПЛАТЕ:", grandLabel);
    merge(ws, card::GrandTotalRow, 'R', card::GrandTotalRow, 'S', "", grand);
    worksheet_write_formula(ws, row(card::GrandTotalRow), col('R'), ("=" + worksCell + "+" + sparesCell).c_str(), grand);

    // Remark and signatures.
    height(ws, 42, 18);
    merge(ws, 42, 'A', 42, 'S', "Примечание:", remarkLabel);
    for (int r = 43; r <= 45; ++r)
        height(ws, r, 15);
    merge(ws, 43, 'A', 45, 'S', "", remark);
    height(ws, 46, 8);
    height(ws, 47, 24);
    merge(ws, 47, 'A', 47, 'S',
          "С объёмом, стоимостью и сроками выполнения работ согласен. Автомобиль получен, "
          "претензий к качеству работ и комплектности не имею.",
          consent);
    height(ws, 48, 24);
    merge(ws, 48, 'A', 48, 'D', "Работу сдал", signLabel);
    merge(ws, 48, 'E', 48, 'I', "", signLine);
    merge(ws, 48, 'K', 48, 'N', "Работу принял", signLabel);
    merge(ws, 48, 'O', 48, 'S', "", signLine);
    height(ws, 49, 11);
    merge(ws, 49, 'E', 49, 'I', "подпись мастера", signHint);
    merge(ws, 49, 'O', 49, 'S', "подпись заказчика", signHint);
    height(ws, 50, 18);
    merge(ws, 50, 'A', 50, 'D', "М. П.", signLabel);

    worksheet_print_area(ws, row(1), col('A'), row(50), col('S'));
    worksheet_set_paper(ws, 9); // A4
    worksheet_set_portrait(ws);
    worksheet_set_margins(ws, 0.6, 0.4, 0.5, 0.5);
    worksheet_center_horizontally(ws);
    worksheet_fit_to_pages(ws, 1, 0);
    worksheet_gridlines(ws, LXW_HIDE_ALL_GRIDLINES);

    const std::string s = quoted(card::SheetName);
    const std::string clean = names::CleanCells;
    const bool named = define(wb, clean, rows(s, 'Q', 1, 'Q', 2) + "," + rows(s, 'E', 4, 'E', 11) + "," + rows(s, 'O', 4, 'O', 5))
        && define(wb, clean + "2", rows(s, 'B', card::WorkFirstRow, 'B', spareLast) + "," + rows(s, 'R', card::WorkFirstRow, 'R', workLast)
                                        + "," + rows(s, 'N', card::SpareFirstRow, 'P', spareLast))
        && define(wb, clean + "3", s + "$O$9," + s + "$A$43")
        && define(wb, card::WorkSection, rows(s, 'A', card::WorkFirstRow, 'S', workLast))
        && define(wb, card::SpareSection, rows(s, 'A', card::SpareFirstRow, 'S', spareLast))
        && define(wb, std::string(card::WorkSection) + names::RowsSuffix, std::to_string(card::WorkRows))
        && define(wb, std::string(card::SpareSection) + names::RowsSuffix, std::to_string(card::SpareRows));
    if (!named) {
        workbook_close(wb);
        return false;
    }

    return check(workbook_close(wb), path);
}

bool writeSummary(const QString& path)
{
    lxw_workbook* wb = workbook_new(path.toLocal8Bit().constData());
    if (!wb)
        return check(LXW_ERROR_CREATING_TMPFILE, path);
    lxw_worksheet* ws = workbook_add_worksheet(wb, summary::SheetName);

    lxw_format* base = format(wb, {});
    lxw_format* shop = format(wb, {.size = 9, .color = kGrey});
    lxw_format* title = format(wb, {.size = 14, .bold = true, .align = LXW_ALIGN_CENTER});
    lxw_format* period = format(wb, {.size = 11, .italic = true, .align = LXW_ALIGN_CENTER});
    lxw_format* head = format(wb, {.size = 10, .bold = true, .align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN,
                                   .wrap = true, .fill = kHeaderFill});
    // The line style that Lines gives to the contract rows, one per column.
    lxw_format* lineNum = format(wb, {.align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN, .numFormat = "0"});
    lxw_format* lineDate = format(wb, {.align = LXW_ALIGN_CENTER, .border = LXW_BORDER_THIN});
    lxw_format* lineText = format(wb, {.border = LXW_BORDER_THIN, .indent = 1});
    lxw_format* lineMoney = format(wb, {.align = LXW_ALIGN_RIGHT, .border = LXW_BORDER_THIN, .numFormat = kMoney});
    // What the grand total row gets: the columns' own style (no borders:
    // every empty cell of the column would show them).
    lxw_format* totalLabel = format(wb, {.bold = true, .align = LXW_ALIGN_RIGHT, .indent = 1});
    lxw_format* totalMoney = format(wb, {.bold = true, .align = LXW_ALIGN_RIGHT, .numFormat = kMoney});

    worksheet_set_column(ws, 0, 0, 11, base);
    worksheet_set_column(ws, 1, 1, 12, base);
    worksheet_set_column(ws, 2, 2, 30, base);
    worksheet_set_column(ws, 3, 3, 32, base);
    worksheet_set_column(ws, 4, 4, 18, totalLabel);
    worksheet_set_column(ws, 5, 5, 17, totalMoney);

    height(ws, 1, 15);
    merge(ws, 1, 'A', 1, 'F', ShopBlank, shop);
    height(ws, 2, 24);
    merge(ws, 2, 'A', 2, 'F', "ИТОГОВЫЙ СВОД ДОГОВОРОВ", title);
    height(ws, 3, 6);
    height(ws, 4, 18);
    merge(ws, 4, 'A', 4, 'F', "", period);
    lxw_row_col_options hidden = {.hidden = 1, .level = 0, .collapsed = 0};
    worksheet_set_row_opt(ws, row(summary::SampleRow), 15, nullptr, &hidden);
    lxw_format* sample[] = {lineNum, lineDate, lineText, lineText, lineText, lineMoney};
    for (int c = 0; c < 6; ++c)
        worksheet_write_blank(ws, row(summary::SampleRow), lxw_col_t(c), sample[c]);
    height(ws, summary::HeaderRow, 30);
    const char* heads[] = {"№ договора", "Дата", "Автомобиль", "Владелец", "Телефон", "Сумма, руб."};
    for (int c = 0; c < 6; ++c)
        worksheet_write_string(ws, row(summary::HeaderRow), lxw_col_t(c), heads[c], head);

    worksheet_repeat_rows(ws, row(summary::HeaderRow), row(summary::HeaderRow));
    worksheet_set_paper(ws, 9);
    worksheet_set_landscape(ws);
    worksheet_set_margins(ws, 0.6, 0.4, 0.5, 0.5);
    worksheet_center_horizontally(ws);
    worksheet_fit_to_pages(ws, 1, 0);
    worksheet_set_footer(ws, "&RЛист &P из &N");
    worksheet_gridlines(ws, LXW_HIDE_ALL_GRIDLINES);

    const std::string s = quoted(summary::SheetName);
    const bool named = define(wb, names::CleanCells, s + "$A$4," + rows(s, 'A', summary::FirstRow, 'F', 1048576))
        && define(wb, names::LineStyle, rows(s, 'A', summary::SampleRow, 'F', summary::SampleRow));
    if (!named) {
        workbook_close(wb);
        return false;
    }

    return check(workbook_close(wb), path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: torquil-templates OUTDIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "torquil-templates: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = writeCard(QDir(dir).filePath(card::File)) && writeSummary(QDir(dir).filePath(summary::File));
    return ok ? 0 : 1;
}
