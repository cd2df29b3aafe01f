#include "office/Package.h"
#include "office/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <zip.h>

namespace office {

namespace {

QString zipErrorText(zip_error_t* err)
{
    return QString::fromUtf8(zip_error_strerror(err));
}

} // namespace

Package Package::load(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("Файл «%1» не найден").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Не удалось открыть файл «%1»: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();

    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(bytes.constData(), bytes.size(), 0, &err);
    zip_t* za = src ? zip_open_from_source(src, ZIP_RDONLY, &err) : nullptr;
    if (!za) {
        const QString why = zipErrorText(&err);
        if (src)
            zip_source_free(src);
        zip_error_fini(&err);
        throw Error(QStringLiteral("Файл «%1» не является книгой .xlsx: %2").arg(path, why));
    }
    Package pkg;
    const zip_int64_t n = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za, i, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        const QString name = QString::fromUtf8(st.name);
        if (name.endsWith(u'/'))
            continue;
        QByteArray data(qsizetype(st.size), Qt::Uninitialized);
        zip_file_t* zf = zip_fopen_index(za, i, 0);
        const zip_int64_t got = zf ? zip_fread(zf, data.data(), st.size) : -1;
        if (zf)
            zip_fclose(zf);
        if (got != zip_int64_t(st.size)) {
            zip_discard(za);
            zip_error_fini(&err);
            throw Error(QStringLiteral("Файл «%1» повреждён: не читается часть «%2»").arg(path, name));
        }
        pkg.parts_.emplace_back(name, data);
    }
    zip_discard(za);
    zip_error_fini(&err);
    return pkg;
}

const QByteArray* Package::find(const QString& name) const
{
    for (const auto& [n, data] : parts_)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return &data;
    return nullptr;
}

void Package::set(const QString& name, const QByteArray& data)
{
    for (auto& [n, d] : parts_)
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            d = data;
            return;
        }
    parts_.emplace_back(name, data);
}

void Package::remove(const QString& name)
{
    std::erase_if(parts_, [&](const auto& p) { return p.first.compare(name, Qt::CaseInsensitive) == 0; });
}

QByteArray Package::zip() const
{
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &err);
    if (!out)
        throw Error(QStringLiteral("Не удалось собрать книгу: %1").arg(zipErrorText(&err)));
    zip_source_keep(out);
    zip_t* za = zip_open_from_source(out, ZIP_TRUNCATE, &err);
    if (!za) {
        const QString why = zipErrorText(&err);
        zip_source_free(out);
        zip_error_fini(&err);
        throw Error(QStringLiteral("Не удалось собрать книгу: %1").arg(why));
    }
    auto fail = [&](const QString& why) {
        zip_discard(za);
        zip_source_free(out);
        zip_error_fini(&err);
        throw Error(QStringLiteral("Не удалось собрать книгу: %1").arg(why));
    };
    for (const auto& [name, data] : parts_) {
        zip_source_t* ps = zip_source_buffer(za, data.constData(), data.size(), 0);
        if (!ps)
            fail(QString::fromUtf8(zip_strerror(za)));
        const zip_int64_t idx = zip_file_add(za, name.toUtf8().constData(), ps, ZIP_FL_ENC_UTF_8);
        if (idx < 0) {
            zip_source_free(ps);
            fail(QString::fromUtf8(zip_strerror(za)));
        }
        zip_set_file_compression(za, zip_uint64_t(idx), ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(za) != 0)
        fail(QString::fromUtf8(zip_strerror(za)));

    QByteArray bytes;
    if (zip_source_open(out) == 0) {
        zip_source_seek(out, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(out);
        zip_source_seek(out, 0, SEEK_SET);
        bytes.resize(qsizetype(size));
        const zip_int64_t got = zip_source_read(out, bytes.data(), zip_uint64_t(size));
        zip_source_close(out);
        if (got != size)
            bytes.clear();
    }
    zip_source_free(out);
    zip_error_fini(&err);
    if (bytes.isEmpty())
        throw Error(QStringLiteral("Не удалось собрать книгу"));
    return bytes;
}

void Package::save(const QString& path) const
{
    const QByteArray bytes = zip();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(QStringLiteral("Не удалось сохранить книгу «%1»: %2").arg(path, file.errorString()));
}

QString resolvePartName(const QString& sourcePart, const QString& target)
{
    QStringList parts;
    if (!target.startsWith(u'/')) {
        parts = sourcePart.split(u'/');
        parts.removeLast(); // the source part's own file name
    }
    for (const QString& p : target.split(u'/', Qt::SkipEmptyParts)) {
        if (p == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (p != u".") {
            parts << p;
        }
    }
    return parts.join(u'/');
}

} // namespace office
