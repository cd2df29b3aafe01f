#pragma once
// The folder of the running executable, where dbase.fdb, path.txt and Forms/
// are looked for. Tests set another folder.
#include <QString>

namespace rtl {

QString programFolder();                  // without a trailing slash; "/" stays "/"
void setProgramFolder(const QString& dir);  // empty: back to the executable's folder
QString inProgramFolder(const QString& name);  // folder + separator + name

}  // namespace rtl
