#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/settings_file.h"
#include "kolvio_version.h"

namespace kolvio {

namespace {

QString& AppDirValue() {
    static QString value;
    return value;
}

QString HelpBeside(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("help"));
}

QString InstalledHelp(const QString& programDir) {
    return QDir::cleanPath(QDir(programDir).filePath(QLatin1String(kInstalledHelpFromProgram)));
}

}  // namespace

QString ChooseAppDir(const QString& home, const QString& programDir, const QString& userDataDir) {
    if (!home.isEmpty()) return QDir::cleanPath(QDir(home).absolutePath());
    const QFileInfo program(programDir);
    if (program.isDir() && program.isWritable() && !IsInstalledLayout(programDir))
        return QDir::cleanPath(programDir);
    return QDir::cleanPath(userDataDir);
}

bool IsInstalledLayout(const QString& programDir) {
    return !QFileInfo(HelpBeside(programDir)).isDir() &&
           QFileInfo(InstalledHelp(programDir)).isDir();
}

QString FindHelpDir(const QString& programDir) {
    return IsInstalledLayout(programDir) ? InstalledHelp(programDir) : HelpBeside(programDir);
}

QString InitAppDir() {
    const QString dir =
        ChooseAppDir(qEnvironmentVariable(kHomeVariable), QCoreApplication::applicationDirPath(),
                     QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir().mkpath(dir);
    AppDirValue() = dir;
    return dir;
}

const QString& AppDir() {
    return AppDirValue();
}

QString IniPath() {
    return QDir(AppDir()).filePath(QString::fromLatin1(kSettingsFileName));
}

QString DefaultDataDir() {
    return QDir(AppDir()).filePath(QStringLiteral("DATA"));
}

}  // namespace kolvio
