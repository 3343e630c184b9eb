#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace kolvio {

bool InstallQtTranslation() {
    static QTranslator* installed = nullptr;
    if (installed) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QStringList folders = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString& folder : folders) {
        // "qt_cs" names the Czech files of every Qt module that has them.
        for (const char* name : {"qt_cs", "qtbase_cs"}) {
            if (translator->load(QString::fromLatin1(name), folder) &&
                QCoreApplication::installTranslator(translator)) {
                installed = translator;
                return true;
            }
        }
    }
    delete translator;
    return false;
}

}  // namespace kolvio
