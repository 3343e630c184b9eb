#include "app/start_menu.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace kolvio {

namespace {

ChartRegistration& Registration() {
    static ChartRegistration registration;
    return registration;
}

struct Entry {
    QString fileName;
    QString name;
    QString exec;
    QString comment;
};

bool WriteText(const QString& path, const QString& text, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        *error = QStringLiteral(
                     "Položku nabídky \"%1\" nelze zapsat: %2.\n"
                     "Zkontroluj, zda lze do této složky zapisovat, a spusť "
                     "\"kolvio -setup\" znovu.")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

QString DesktopEntry(const Entry& e) {
    return QStringLiteral(
               "[Desktop Entry]\nType=Application\nName=%1\nComment=%2\nExec=%3\n"
               "Terminal=false\nCategories=X-Kolvio;\n")
        .arg(e.name, e.comment, e.exec);
}

}  // namespace

bool IsSetupCommandLine(const QStringList& arguments) {
    return arguments.size() == 2 && arguments.at(1) == QLatin1String("-setup");
}

StartMenuFolders DefaultStartMenuFolders() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation),
            QDir(data).filePath(QStringLiteral("desktop-directories")),
            QDir(config).filePath(QStringLiteral("menus/applications-merged"))};
}

QString QuoteExecArgument(const QString& argument) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`=%");
    bool plain = !argument.isEmpty();
    for (QChar c : argument)
        plain = plain && !kReserved.contains(c);
    if (plain) return argument;
    QString quoted;
    for (QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        quoted += c;
    }
    // The value of a desktop entry key escapes backslashes once more.
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    quoted.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return u'"' + quoted + u'"';
}

QStringList CreateStartMenuItems(const StartMenuFolders& folders, const QString& programPath,
                                 const QString& helpFile, const QString& descriptionFile,
                                 QString* error) {
    QList<Entry> entries{{QStringLiteral("kolvio.desktop"), QStringLiteral("Kolvio"),
                          QuoteExecArgument(programPath),
                          QStringLiteral("Deník cyklistického tréninku")}};
    const QString open = QStringLiteral("xdg-open ");
    if (QFileInfo::exists(helpFile)) {
        entries.append({QStringLiteral("kolvio-napoveda.desktop"), QStringLiteral("Nápověda"),
                        open + QuoteExecArgument(helpFile), QStringLiteral("Nápověda k Kolviu")});
    }
    if (QFileInfo::exists(descriptionFile)) {
        entries.append({QStringLiteral("kolvio-popis.desktop"), QStringLiteral("Popis"),
                        open + QuoteExecArgument(descriptionFile),
                        QStringLiteral("Popis programu Kolvio")});
    }
    QStringList written;
    QString include;
    for (const Entry& e : entries) {
        const QString path = QDir(folders.applications).filePath(e.fileName);
        if (!WriteText(path, DesktopEntry(e), error)) return written;
        written.append(path);
        include += QStringLiteral("      <Filename>%1</Filename>\n").arg(e.fileName);
    }
    // The submenu "Kolvio" that gathers the entries.
    const QString directory =
        QDir(folders.directories).filePath(QStringLiteral("kolvio.directory"));
    if (!WriteText(directory, QStringLiteral("[Desktop Entry]\nType=Directory\nName=Kolvio\n"),
                   error))
        return written;
    const QString menu =
        QStringLiteral(
            "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
            "<Menu>\n  <Name>Applications</Name>\n  <Menu>\n"
            "    <Name>Kolvio</Name>\n    <Directory>kolvio.directory</Directory>\n"
            "    <Include>\n%1    </Include>\n  </Menu>\n</Menu>\n")
            .arg(include);
    (void)WriteText(QDir(folders.mergedMenus).filePath(QStringLiteral("kolvio.menu")), menu, error);
    return written;
}

void SetChartRegistration(ChartRegistration registration) {
    Registration() = std::move(registration);
}

const ChartRegistration& CurrentChartRegistration() {
    return Registration();
}

}  // namespace kolvio
