// The printing case of torquil-bench: a document of 120 table lines (the
// size of a long work order or a month's list) written as a PDF file.
#include "print/Document.h"
#include "print/Render.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

print::Document document120() {
    print::Document d;
    d.title = QStringLiteral("Заказ-наряд № 12345");
    d.subtitle = QStringLiteral("от 10.12.2026");
    d.runningHead = QStringLiteral("Автосервис «Торквиль», г. Тверь, ул. Заводская, 7");
    d.field(QStringLiteral("Заказчик"), QStringLiteral("Щербаков Юрий Фёдорович"))
        .field(QStringLiteral("Автомобиль"), QStringLiteral("ВАЗ-21099, А123ВС 69"))
        .field(QStringLiteral("Пробег"), QString());
    print::Table t;
    t.columns = {{QStringLiteral("№"), Qt::AlignRight, 6},
                 {QStringLiteral("Наименование")},
                 {QStringLiteral("Кол-во"), Qt::AlignRight, 10},
                 {QStringLiteral("Цена"), Qt::AlignRight, 14},
                 {QStringLiteral("Сумма"), Qt::AlignRight, 14}};
    for (int i = 1; i <= 120; ++i)
        t.rows.push_back({QString::number(i), QStringLiteral("Замена втулки стабилизатора, позиция %1").arg(i),
                          QString::number(1 + i % 3), QStringLiteral("%1,00").arg(100 + i),
                          QStringLiteral("%1,00").arg((100 + i) * (1 + i % 3))});
    t.totals = {{QString(), QStringLiteral("Итого"), QString(), QString(), QStringLiteral("31460,00")}};
    d.table(std::move(t));
    d.signature(QStringLiteral("Мастер"), QString()).signature(QStringLiteral("Заказчик"), QStringLiteral("Щербаков Ю. Ф."));
    return d;
}

}  // namespace

// Prints the first run (fonts read from disk) and the median of `runs`.
void benchPrintPdf(int runs) {
    const print::Document d = document120();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("order.pdf"));
    std::vector<double> ms;
    for (int i = 0; i <= runs; ++i) {
        QElapsedTimer e;
        e.start();
        print::writePdf(d, file);
        ms.push_back(e.nsecsElapsed() / 1e6);
    }
    const double first = ms.front();
    ms.erase(ms.begin());
    std::sort(ms.begin(), ms.end());
    std::printf("print_pdf_120 app_ms=%.2f first_ms=%.2f limit_ms=300\n", ms[ms.size() / 2], first);
    std::fflush(stdout);
}
