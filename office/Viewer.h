#pragma once
// Showing a filled workbook to the user. The program's default hands the
// file to the desktop (the spreadsheet application registered for .xlsx);
// tests install a RecordingViewer. show() returns false when nothing could
// show the file: the caller then tells the user where the file is.
#include <QString>
#include <QStringList>

namespace office {

class Viewer {
public:
    virtual ~Viewer() = default;
    virtual bool show(const QString& path) = 0;
};

class DesktopViewer : public Viewer {
public:
    bool show(const QString& path) override;
};

class RecordingViewer : public Viewer {
public:
    bool show(const QString& path) override
    {
        shown << path;
        return result;
    }
    QStringList shown;
    bool result = true; // what show() answers
};

// The viewer in use; DesktopViewer unless another is installed.
Viewer& viewer();
// Installs a viewer (not owned); nullptr brings the default back.
void setViewer(Viewer* v);

// Where filled workbooks are written to be shown: a folder of this user's
// under the system's temporary folder, unless another is set.
QString outputDir();
void setOutputDir(const QString& dir); // "" brings the default back

// A path in outputDir() that no file has yet: "<stem>-yyyyMMdd-HHmmss.xlsx",
// with "-2", "-3"... when two come in the same second. Creates the folder.
QString freshOutputPath(const QString& stem);

} // namespace office
