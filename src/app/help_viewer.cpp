#include "app/help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/app_paths.h"
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

protected:
    void keyPressEvent(QKeyEvent* event) override {
        // Esc closes the help as it closes a dialog.
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    QTextBrowser* browser_;
};

QPointer<HelpBrowser> g_window;

constexpr char kHelpContextProperty[] = "kolvioHelpContext";

struct Topic {
    int context;
    const char* file;
};

constexpr Topic kTopics[] = {
    {1, "navigator"},       {2, "nova_databaze"},        {101, "jizda_nova"},
    {102, "profil_tepu"},   {201, "trat_nova"},          {301, "kolo_nove"},
    {401, "typ_jizd_novy"}, {402, "typ_jizd_zakladni"},  {403, "typ_jizd_vedlejsi"},
    {501, "kolo_editace"},  {601, "trat_editace"},       {701, "typ_jizd_editace"},
    {801, "jizda_editace"}, {1001, "hlidani_tepu_nove"}, {1101, "hlidani_tepu_editace"},
    {910, "extremy"},       {1010, "vysledek"},          {1020, "graf_priprava"},
    {1030, "graf"},
};

int OwnContext(const QWidget* w) {
    return w->property(kHelpContextProperty).toInt();
}

}  // namespace

QString HelpDir() {
    return FindHelpDir(QCoreApplication::applicationDirPath());
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

QString HelpTopicOf(int context) {
    for (const Topic& t : kTopics) {
        if (t.context == context) return QString::fromLatin1(t.file);
    }
    return QStringLiteral("index");
}

void ShowHelpContext(int context, QWidget* parent) {
    ShowHelpTopic(HelpTopicOf(context), parent);
}

void SetHelpContext(QWidget* widget, int context) {
    widget->setProperty(kHelpContextProperty, context);
}

int HelpContextFor(const QWidget* focus, const QWidget* screen, int screenContext) {
    if (focus && screen->isAncestorOf(focus)) {
        for (const QWidget* w = focus; w && w != screen; w = w->parentWidget()) {
            if (const int own = OwnContext(w)) return own;
        }
    }
    for (const QTabWidget* pages : screen->findChildren<QTabWidget*>()) {
        const QWidget* page = pages->currentWidget();
        if (pages->isVisible() && page) {
            if (const int own = OwnContext(page)) return own;
        }
    }
    return screenContext;
}

QWidget* HelpWindow() {
    return g_window;
}

}  // namespace kolvio
