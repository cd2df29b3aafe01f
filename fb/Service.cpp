#include "fb/Service.h"

#include "fb/Client.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/ServerPath.h"

#include <QFile>
#include <QFileInfo>

#include <memory>
#include <vector>

namespace fb {

using namespace Firebird;

namespace {

unsigned readLength(const unsigned char* p) { return unsigned(p[0]) | (unsigned(p[1]) << 8); }

// An SPB made by the client library's builder; each call is checked as it
// returns (ThrowStatus), and the builder is disposed on every path.
class Spb {
public:
    explicit Spb(unsigned kind) {
        ThrowStatus st;
        b_.reset(client().util->getXpbBuilder(st.get(), kind, nullptr, 0));
    }
    Spb& tag(unsigned char t) {
        ThrowStatus st;
        b_->insertTag(st.get(), t);
        return *this;
    }
    Spb& text(unsigned char t, const QString& v) {
        ThrowStatus st;
        b_->insertString(st.get(), t, v.toLocal8Bit().constData());
        return *this;
    }
    Spb& number(unsigned char t, int v) {
        ThrowStatus st;
        b_->insertInt(st.get(), t, v);
        return *this;
    }
    std::vector<unsigned char> bytes() {
        ThrowStatus st;
        const unsigned char* p = b_->getBuffer(st.get());
        const unsigned n = b_->getBufferLength(st.get());
        return std::vector<unsigned char>(p, p + n);
    }

private:
    std::unique_ptr<IXpbBuilder, Disposed> b_;
};

}  // namespace

QString Service::managerFor(const QString& database) {
    const ServerPath p = ServerPath::parse(database);
    return p.remote() ? p.server + QStringLiteral(":service_mgr") : QStringLiteral("service_mgr");
}

QString Service::pathOf(const QString& database) {
    return ServerPath::parse(database).file;
}

Service::Service(const QString& database, const QString& user, const QString& password)
    : remote_(Connection::isRemotePath(database)) {
    std::vector<unsigned char> spb =
        Spb(IXpbBuilder::SPB_ATTACH).text(isc_spb_user_name, user).text(isc_spb_password, password).bytes();
    Status st;
    const QByteArray name = managerFor(database).toLocal8Bit();
    svc_ = client().provider->attachServiceManager(st.get(), name.constData(), unsigned(spb.size()), spb.data());
    if (st.failed()) svc_ = nullptr;
    st.check();
}

Service::~Service() {
    if (!svc_) return;
    Status st;
    svc_->detach(st.get());
    if (st.failed()) svc_->release();
}

void Service::start(const std::vector<unsigned char>& spb) {
    Status st;
    svc_->start(st.get(), unsigned(spb.size()), spb.data());
    st.check();
}

// Reads the report line by line until the run ends; an empty line is the end.
void Service::readLines(const Lines& progress, QStringList* all) {
    const unsigned char items[] = {isc_info_svc_line};
    std::vector<unsigned char> buf(16384);
    for (;;) {
        Status st;
        svc_->query(st.get(), 0, nullptr, sizeof items, items, unsigned(buf.size()), buf.data());
        st.check();
        if (buf[0] != isc_info_svc_line) return;
        const unsigned n = readLength(&buf[1]);
        if (n == 0) return;
        const QString line = QString::fromLocal8Bit(reinterpret_cast<const char*>(&buf[3]), qsizetype(n));
        if (all) all->append(line);
        if (progress) progress(line);
    }
}

// Reads what the run sends to its standard output into `file`.
void Service::readData(const QString& file, const Lines& progress) {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("Cannot write %1: %2").arg(file, out.errorString()));
    const unsigned char items[] = {isc_info_svc_to_eof};
    std::vector<unsigned char> buf(65535);
    qint64 total = 0, reported = 0;
    for (;;) {
        Status st;
        svc_->query(st.get(), 0, nullptr, sizeof items, items, unsigned(buf.size()), buf.data());
        st.check();
        if (buf[0] != isc_info_svc_to_eof) break;
        const unsigned n = readLength(&buf[1]);
        const bool more = buf[3 + n] == isc_info_truncated;
        if (n && out.write(reinterpret_cast<const char*>(&buf[3]), n) != qint64(n))
            throw Error(QStringLiteral("Cannot write %1: %2").arg(file, out.errorString()));
        total += n;
        if (progress && total - reported >= (1 << 20)) {
            reported = total;
            progress(QStringLiteral("%1 MB").arg(total >> 20));
        }
        if (n == 0 && !more) break;
    }
    if (!out.flush()) throw Error(QStringLiteral("Cannot write %1: %2").arg(file, out.errorString()));
}

void Service::backup(const QString& database, const QString& file, const Lines& progress) {
    // Written beside the target first: a failed run keeps an older copy of the same name.
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    Spb spb(IXpbBuilder::SPB_START);
    spb.tag(isc_action_svc_backup).text(isc_spb_dbname, pathOf(database));
    spb.text(isc_spb_bkp_file, remote_ ? QStringLiteral("stdout") : part);
    // No garbage collection on the way: the backup only reads the database.
    spb.number(isc_spb_options, isc_spb_bkp_no_garbage_collect);
    if (!remote_) spb.tag(isc_spb_verbose);
    try {
        start(spb.bytes());
        if (remote_)
            readData(part, progress);
        else
            readLines(progress, nullptr);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    if (!QFileInfo::exists(part)) throw Error(QStringLiteral("The backup wrote no file %1").arg(file));
    QFile::remove(file);
    if (!QFile::rename(part, file)) {
        QFile::remove(part);
        throw Error(QStringLiteral("Cannot write %1").arg(file));
    }
}

void Service::restore(const QString& file, const QString& database, const Lines& progress) {
    const bool local = !Connection::isRemotePath(database);
    if (local && QFileInfo::exists(database))
        throw Error(QStringLiteral("Файл %1 уже существует").arg(database));
    Spb spb(IXpbBuilder::SPB_START);
    spb.tag(isc_action_svc_restore).text(isc_spb_bkp_file, file).text(isc_spb_dbname, pathOf(database));
    spb.number(isc_spb_options, isc_spb_res_create);  // never over an existing database
    spb.tag(isc_spb_verbose);
    try {
        start(spb.bytes());
        readLines(progress, nullptr);
    } catch (...) {
        if (local) QFile::remove(database);  // it did not exist before
        throw;
    }
}

}  // namespace fb
