#include "app/help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/message_service.h"

namespace kolvio {

namespace {

class HelpBrowser final : public QWidget {
public:
    explicit HelpBrowser(QWidget* parent) : QWidget(parent, Qt::Window) {
        setObjectName(QStringLiteral("HelpBrowser"));
        setWindowTitle(QStringLiteral("KOLVIO - nápověda"));
        setAttribute(Qt::WA_DeleteOnClose);
        resize(640, 520);
        browser_ = new QTextBrowser(this);
        browser_->setOpenExternalLinks(true);
        auto* contents = new QPushButton(QStringLiteral("&Obsah"), this);
        auto* back = new QPushButton(QStringLiteral("&Zpět"), this);
        auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
        connect(contents, &QPushButton::clicked, this, [this] { show(QStringLiteral("index")); });
        connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
        connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        back->setEnabled(false);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addStretch();
        buttons->addWidget(close);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(browser_);
    }

    void show(const QString& topic) {
        browser_->setSource(QUrl::fromLocalFile(HelpFile(topic + QStringLiteral(".html"))));
        QWidget::show();
        raise();
        activateWindow();
    }

private:
    QTextBrowser* browser_;
};

QPointer<HelpBrowser> g_window;

QString TopicOfContext(int context) {
    switch (context) {
        case 1:
            return QStringLiteral("navigator");
        case 2:
            return QStringLiteral("nova_databaze");
        default:
            return QStringLiteral("index");
    }
}

}  // namespace

QString HelpDir() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
}

QString HelpFile(const QString& name) {
    return QDir(HelpDir()).filePath(name);
}

void ShowHelpTopic(const QString& topic, QWidget* parent) {
    const QString file = HelpFile(topic + QStringLiteral(".html"));
    if (!QFileInfo::exists(file)) {
        ShowMsgBox(QStringLiteral("Soubor nápovědy \"%1\" nebyl nalezen.\n"
                                  "Nainstaluj program znovu i se složkou \"help\".")
                       .arg(QDir::toNativeSeparators(file)),
                   MsgKind::kError, MsgButtons::kOk);
        return;
    }
    // A window parented to a modal dialog stays usable while the dialog runs.
    if (g_window && parent && g_window->parentWidget() != parent) {
        g_window->close();
        g_window = nullptr;
    }
    if (!g_window) g_window = new HelpBrowser(parent);
    g_window->show(topic);
}

void ShowHelpContents(QWidget* parent) {
    ShowHelpTopic(QStringLiteral("index"), parent);
}

void ShowHelpContext(int context, QWidget* parent) {
    ShowHelpTopic(TopicOfContext(context), parent);
}

QWidget* HelpWindow() {
    return g_window;
}

}  // namespace kolvio
