#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/settings_file.h"

namespace kolvio {

namespace {

QString& AppDirValue() {
    static QString value;
    return value;
}

}  // namespace

QString ChooseAppDir(const QString& home, const QString& programDir, const QString& userDataDir) {
    if (!home.isEmpty()) return QDir::cleanPath(QDir(home).absolutePath());
    const QFileInfo program(programDir);
    if (program.isDir() && program.isWritable()) return QDir::cleanPath(programDir);
    return QDir::cleanPath(userDataDir);
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
