#pragma once
// The zip package of an .xlsx held in memory: its parts in their original
// order. Part names are looked up ignoring case, as the format wants.
#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace office {

class Package {
public:
    // Throws office::Error when the file is missing or is no zip archive.
    static Package load(const QString& path);

    bool has(const QString& name) const { return find(name) != nullptr; }
    const QByteArray* find(const QString& name) const;
    void set(const QString& name, const QByteArray& data);
    void remove(const QString& name);

    // Writes the archive to a temporary file beside `path`, then renames it
    // over `path`; throws office::Error on failure (the old file stays).
    void save(const QString& path) const;

private:
    QByteArray zip() const;
    std::vector<std::pair<QString, QByteArray>> parts_;
};

// "xl/worksheets/sheet1.xml" from the folder of the part that points at it
// and the relationship target ("worksheets/sheet1.xml", "/xl/...", "../x").
QString resolvePartName(const QString& sourcePart, const QString& target);

} // namespace office
