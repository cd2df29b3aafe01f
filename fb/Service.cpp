#include "fb/Service.h"

#include "fb/Client.h"
#include "fb/Connection.h"
#include "fb/Error.h"
#include "fb/ServerPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <memory>
#include <vector>

namespace fb {

using namespace Firebird;

namespace {

unsigned readLength(const unsigned char* p) { return unsigned(p[0]) | (unsigned(p[1]) << 8); }
// A number of four bytes, low byte first, with no length before it.
unsigned readNumber(const unsigned char* p) { return readLength(p) | (readLength(p + 2) << 16); }

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

// The threads of this process.
QStringList threads() { return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }

}  // namespace

QString Service::managerFor(const QString& database) {
    const ServerPath p = ServerPath::parse(database);
    return p.remote() ? p.server + QStringLiteral(":service_mgr") : QStringLiteral("service_mgr");
}

QString Service::pathOf(const QString& database) {
    return ServerPath::parse(database).file;
}

bool Service::isErrorLine(const QString& line) {
    static const QRegularExpression re(QStringLiteral("(^|[:\\s])ERROR:"));
    return re.match(line).hasMatch();
}

Service::Service(const QString& database, const QString& user, const QString& password)
    : remote_(Connection::isRemotePath(database)), user_(user), password_(password) {
    Spb attach(IXpbBuilder::SPB_ATTACH);
    attach.text(isc_spb_user_name, user).text(isc_spb_password, password);
    if (const QString role = adminRole(database, user); !role.isEmpty()) attach.text(isc_spb_sql_role_name, role);
    if (remote_) {
        // The database the service will work on: a server checks the login
        // against that database's users when it keeps its own (its entry in
        // databases.conf names a SecurityDatabase), else against the server's.
        attach.text(isc_spb_expected_db, pathOf(database));
        // As every connection to a server: encrypted or refused.
        attach.text(isc_spb_config, QStringLiteral("WireCrypt = Required"));
    }
    std::vector<unsigned char> spb = attach.bytes();
    Status st;
    const QByteArray name = managerFor(database).toLocal8Bit();
    svc_ = client().provider->attachServiceManager(st.get(), name.constData(), unsigned(spb.size()), spb.data());
    if (st.failed()) svc_ = nullptr;
    st.check();
}

// The run's thread ends some time after the run reported its error; the
// service is detached only once the engine says it no longer runs (a thread
// still running while the process ends crashes it).
void Service::waitFinished() {
    const unsigned char items[] = {isc_info_svc_running};
    unsigned char buf[16];
    for (int i = 0; i < 600; ++i) {
        Status st;
        svc_->query(st.get(), 0, nullptr, sizeof items, items, sizeof buf, buf);
        if (st.failed() || buf[0] != isc_info_svc_running || readNumber(&buf[1]) == 0) break;
        QThread::msleep(20);
    }
    // Even then its thread may still be on its way out of the engine's code:
    // it is waited for by its id (Linux lists a process's threads in /proc).
    const auto alive = [this] {
        for (const QString& t : runThreads_)
            if (QFileInfo::exists(QStringLiteral("/proc/self/task/") + t)) return true;
        return false;
    };
    for (int i = 0; i < 250 && alive(); ++i) QThread::msleep(20);
}

Service::~Service() {
    if (!svc_) return;
    waitFinished();
    Status st;
    svc_->detach(st.get());
    if (st.failed()) svc_->release();
}

void Service::start(const std::vector<unsigned char>& spb) {
    const QStringList before = threads();
    Status st;
    svc_->start(st.get(), unsigned(spb.size()), spb.data());
    // The run's thread is the one the start made.
    runThreads_.clear();
    for (const QString& t : threads())
        if (!before.contains(t)) runThreads_ << t;
    st.check();
}

// Reads the report line by line until the run ends; an empty line is the end.
// The engine goes on after some errors (a truncated copy restores what it
// can and says "Backup incomplete" in a line): every such line fails the run.
QStringList Service::readLines(const Lines& progress) {
    const unsigned char items[] = {isc_info_svc_line};
    std::vector<unsigned char> buf(16384);
    QStringList all, errors;
    for (;;) {
        Status st;
        svc_->query(st.get(), 0, nullptr, sizeof items, items, unsigned(buf.size()), buf.data());
        st.check();
        if (buf[0] != isc_info_svc_line) break;
        const unsigned n = readLength(&buf[1]);
        if (n == 0) break;
        const QString text = QString::fromLocal8Bit(reinterpret_cast<const char*>(&buf[3]), qsizetype(n));
        // One reply may carry several lines.
        for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
            all.append(line);
            if (isErrorLine(line)) errors.append(line.trimmed());
            if (progress) progress(line);
        }
    }
    if (!errors.isEmpty()) throw Error(errors.join(u'\n'));
    return all;
}

// Reads what the run sends to its standard output into `file`, unbuffered,
// so that a failed write is seen at once with its cause.
void Service::readData(const QString& file, const Lines& progress) {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
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
    out.close();
    if (out.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot write %1: %2").arg(file, out.errorString()));
}

QStringList Service::backup(const QString& database, const QString& file, const Lines& progress) {
    Spb spb(IXpbBuilder::SPB_START);
    spb.tag(isc_action_svc_backup).text(isc_spb_dbname, pathOf(database));
    spb.text(isc_spb_bkp_file, remote_ ? QStringLiteral("stdout") : file);
    // No garbage collection on the way: the backup only reads the database.
    spb.number(isc_spb_options, isc_spb_bkp_no_garbage_collect);
    // The engine refuses its report beside a copy sent to its standard output.
    if (!remote_) spb.tag(isc_spb_verbose);
    start(spb.bytes());
    if (!remote_) return readLines(progress);
    readData(file, progress);
    return {};
}

// Attaches to `database`: whether that succeeded, or with `drop`, whether
// the database was dropped.
bool Service::attach(const QString& database, bool drop) {
    ThrowStatus build;
    std::unique_ptr<IXpbBuilder, Disposed> dpb(client().util->getXpbBuilder(build.get(), IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(build.get(), isc_dpb_user_name, user_.toUtf8().constData());
    dpb->insertString(build.get(), isc_dpb_password, password_.toUtf8().constData());
    if (remote_) dpb->insertString(build.get(), isc_dpb_config, "WireCrypt = Required");
    const unsigned char* p = dpb->getBuffer(build.get());
    const unsigned n = dpb->getBufferLength(build.get());
    Status st;
    const QByteArray name = database.toLocal8Bit();
    IAttachment* att = client().provider->attachDatabase(st.get(), name.constData(), n, p);
    if (st.failed() || !att) return false;
    st.clear();
    if (drop) {
        att->dropDatabase(st.get());
        if (!st.failed()) return true;  // the handle is gone with the database
        st.clear();
    }
    att->detach(st.get());
    if (st.failed()) att->release();
    return !drop;
}

bool Service::databaseExists(const QString& database) { return attach(database, false); }

bool Service::dropDatabase(const QString& database) {
    if (attach(database, true)) return true;
    return !Connection::isRemotePath(database) && QFile::remove(database);
}

// Runs the started restore, sending it the copy from `in` whenever it asks
// for input, and reads its report as readLines does. The end of the copy is
// sent as an empty block: a copy cut short fails the run with the engine's
// error (read from a file instead, the engine would ask a terminal for the
// next volume and end without reporting any error).
QStringList Service::feedLines(QFile& in, const Lines& progress) {
    const unsigned char items[] = {isc_info_svc_stdin, isc_info_svc_line};
    std::vector<unsigned char> buf(65535), send;
    unsigned wanted = 0;
    QStringList all, errors;
    for (;;) {
        send.clear();
        if (wanted) {
            const QByteArray chunk = in.read(qMin<qint64>(wanted, 32768));
            if (chunk.size() < 0 || in.error() != QFileDevice::NoError)
                throw Error(QStringLiteral("Нельзя прочитать файл %1: %2").arg(in.fileName(), in.errorString()));
            send = {isc_info_svc_line, static_cast<unsigned char>(chunk.size() & 0xff),
                    static_cast<unsigned char>(chunk.size() >> 8)};
            send.insert(send.end(), chunk.begin(), chunk.end());
            wanted = 0;
        }
        Status st;
        svc_->query(st.get(), unsigned(send.size()), send.data(), sizeof items, items, unsigned(buf.size()), buf.data());
        st.check();
        bool finished = false, waiting = false;
        for (const unsigned char* p = buf.data(); p < buf.data() + buf.size() && *p != isc_info_end;) {
            switch (*p++) {
            case isc_info_svc_stdin:
                wanted = readNumber(p);
                p += 4;
                break;
            case isc_info_svc_line: {
                const unsigned n = readLength(p);
                p += 2;
                finished = n == 0;
                const QString line = QString::fromLocal8Bit(reinterpret_cast<const char*>(p), qsizetype(n));
                p += n;
                if (n == 0) break;
                all.append(line);
                if (isErrorLine(line)) errors.append(line.trimmed());
                if (progress) progress(line);
                break;
            }
            case isc_info_data_not_ready:
            case isc_info_svc_timeout:
            case isc_info_truncated:
                waiting = true;
                break;
            default:
                throw Error(QStringLiteral("The service sent an item it was not asked for"));
            }
        }
        if (finished && !waiting && !wanted) break;
    }
    if (!errors.isEmpty()) throw Error(errors.join(u'\n'));
    return all;
}

QStringList Service::restore(const QString& file, const QString& database, const Lines& progress) {
    const bool local = !Connection::isRemotePath(database);
    // The file on a server is out of reach: an attachment tells whether a database is there.
    if (local ? QFileInfo::exists(database) : databaseExists(database))
        throw Error(QStringLiteral("Файл %1 уже существует").arg(database));
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Нельзя прочитать файл %1: %2").arg(file, in.errorString()));
    Spb spb(IXpbBuilder::SPB_START);
    spb.tag(isc_action_svc_restore).text(isc_spb_bkp_file, QStringLiteral("stdin")).text(isc_spb_dbname, pathOf(database));
    spb.number(isc_spb_options, isc_spb_res_create);  // never over an existing database
    spb.tag(isc_spb_verbose);
    try {
        start(spb.bytes());
        return feedLines(in, progress);
    } catch (...) {
        // It did not exist before: what the run made of it goes, once the
        // run has let go of it.
        waitFinished();
        const auto there = [&] { return local ? QFileInfo::exists(database) : databaseExists(database); };
        for (int i = 0; i < 25 && there() && !dropDatabase(database); ++i) QThread::msleep(200);
        throw;
    }
}

}  // namespace fb
