#pragma once
// Showing a filled workbook to the user. The program's default hands the
// file to the desktop's opener (xdg-open: the spreadsheet application
// registered for .xlsx); tests install a RecordingViewer. show() returns false
// when nothing could show the file: the caller then tells the user where the
// file is.
#include <QString>
#include <QStringList>

namespace office {

class Viewer {
public:
    virtual ~Viewer() = default;
    virtual bool show(const QString& path) = 0;
};

// Runs the opener on the file and judges by its exit code: 0 is shown; a
// failure to start or any other code is not (xdg-open: 3 when nothing can
// open the file, 4 when the application failed). An opener that runs the
// application in the foreground (xdg-open outside a desktop environment) is
// still running after `waitMs`: it is showing the file, and it is left to
// finish on its own. Input to the program's windows waits meanwhile.
class DesktopViewer : public Viewer {
public:
    explicit DesktopViewer(const QString& opener = QStringLiteral("xdg-open"), int waitMs = 2000)
        : opener_(opener), waitMs_(waitMs) {}
    bool show(const QString& path) override;

private:
    QString opener_;
    int waitMs_;
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
