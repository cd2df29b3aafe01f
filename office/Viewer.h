#pragma once
// Showing a filled workbook to the user. The program's default hands the
// file to the desktop's opener (xdg-open: the spreadsheet application
// registered for .xlsx); tests install a RecordingViewer. show() returns false
// when nothing could show the file: the caller then tells the user where the
// file is. A failure known only later (an opener that ends with an error)
// is handed to `failedLater` with the file's path.
#include <QString>
#include <QStringList>

#include <functional>

namespace office {

using LateFailure = std::function<void(const QString& path)>;

class Viewer {
public:
    virtual ~Viewer() = default;
    virtual bool show(const QString& path, const LateFailure& failedLater) = 0;
};

// Runs the opener on the file without waiting for it: false only when the
// file is missing or the opener cannot start. The opener is watched to its
// end, however late: any exit code but 0 (xdg-open: 3 when nothing can open
// the file, 4 when the application failed, possibly after a while) or a
// crash calls `failedLater`. An opener that runs the application in the
// foreground (xdg-open outside a desktop environment) ends when the user
// closes it, with 0.
class DesktopViewer : public Viewer {
public:
    explicit DesktopViewer(const QString& opener = QStringLiteral("xdg-open")) : opener_(opener) {}
    bool show(const QString& path, const LateFailure& failedLater) override;

private:
    QString opener_;
};

class RecordingViewer : public Viewer {
public:
    bool show(const QString& path, const LateFailure&) override
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
