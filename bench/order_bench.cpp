// The work order case of torquil-bench: an order of 120 lines (20 works,
// 100 spare parts with article numbers and makers) laid out and written as
// a PDF file, with the shop's details and the customer's parts.
#include "app/OrderDocument.h"
#include "app/ShopDetails.h"
#include "app/WorkOrder.h"
#include "print/Render.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

app::WorkOrder order120() {
    app::WorkOrder o;
    o.number = QStringLiteral("12345");
    o.date = QStringLiteral("10.12.2026");
    o.accepted = QStringLiteral("10.12.2026 9:35:00");
    o.deadline = QStringLiteral("14.12.2026");
    o.customer = QStringLiteral("ЩЕРБАКОВ ЮРИЙ ФЁДОРОВИЧ");
    o.phone = QStringLiteral("+7 920 111-22-33");
    o.address = QStringLiteral("г. Тверь, ул. Лесная, 3");
    o.make = QStringLiteral("ЛАДА");
    o.model = QStringLiteral("ВЕСТА");
    o.plate = QStringLiteral("А123ВС");
    o.region = QStringLiteral("69");
    o.vin = QStringLiteral("XTAGFK330KY123456");
    o.km = QStringLiteral("87654");
    o.mechanic = QStringLiteral("ВОЛКОВ АНДРЕЙ ПАВЛОВИЧ");
    o.extraRule = QStringLiteral("СОГЛАСОВАТЬ ПО ТЕЛЕФОНУ");
    for (int i = 1; i <= 20; ++i)
        o.works.push_back({QStringLiteral("ЗАМЕНА ВТУЛКИ СТАБИЛИЗАТОРА, ПОЗИЦИЯ %1").arg(i), QStringLiteral("%1").arg(500 + i),
                           QStringLiteral("%1").arg(500 + i)});
    for (int i = 1; i <= 100; ++i)
        o.spares.push_back({QStringLiteral("ВТУЛКА СТАБИЛИЗАТОРА ПЕРЕДНЕГО %1").arg(i), QStringLiteral("2190-2906040-%1").arg(i),
                            QStringLiteral("БРТ"), QString::number(1 + i % 3), QStringLiteral("%1,5").arg(100 + i),
                            QStringLiteral("%1").arg((100.5 + i) * (1 + i % 3))});
    o.own.push_back({QStringLiteral("МАСЛО 5W40"), QStringLiteral("4"), QStringLiteral("канистра")});
    o.worksTotal = QStringLiteral("10210");
    o.sparesTotal = QStringLiteral("31460");
    o.total = QStringLiteral("41670");
    return o;
}

app::ShopDetails shop() {
    app::ShopDetails s;
    s.name = QStringLiteral("Автосервис «Торквиль»");
    s.form = QStringLiteral("ООО");
    s.inn = QStringLiteral("7707083893");
    s.ogrn = QStringLiteral("1027700132195");
    s.address = QStringLiteral("г. Тверь, ул. Заводская, 7");
    s.warranty = QStringLiteral("Гарантия на работы 6 месяцев или 10000 км пробега");
    s.terms = QStringLiteral("Оплата при выдаче автомобиля");
    return s;
}

}  // namespace

// The document built and written, each run; prints the first run (fonts
// read from disk) and the median of `runs`.
void benchOrderPdf(int runs) {
    const app::WorkOrder o = order120();
    const app::ShopDetails s = shop();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("order.pdf"));
    std::vector<double> ms;
    for (int i = 0; i <= runs; ++i) {
        QElapsedTimer e;
        e.start();
        print::writePdf(app::orderDocument(o, s), file);
        ms.push_back(e.nsecsElapsed() / 1e6);
    }
    const double first = ms.front();
    ms.erase(ms.begin());
    std::sort(ms.begin(), ms.end());
    std::printf("order_pdf_120 app_ms=%.2f first_ms=%.2f limit_ms=300\n", ms[ms.size() / 2], first);
    std::fflush(stdout);
}
