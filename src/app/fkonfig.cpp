#include "app/fkonfig.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/config_settings.h"
#include "app/form_hl.h"
#include "app/message_service.h"
#include "app/recent_databases.h"

namespace kolvio {

namespace {

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QCheckBox* Check(const char* name, const QString& caption, const QString& hint, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    box->setStatusTip(hint);
    return box;
}

}  // namespace

TFKonfig::TFKonfig(TForm_hl& main) : TFData_Zakl(main) {
    setObjectName(QStringLiteral("FKonfig"));
    setWindowTitle(QStringLiteral("Konfigurace"));
    Label1->setText(QStringLiteral("KONFIGURACE"));
    PoZasKonec->hide();

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Each option's heading beside its check box, so that the page fits the
    // reference size without scrolling.
    auto* page = new QWidget(scroll);
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto option = [&](int row, const QString& heading, QCheckBox* box) {
        layout->addWidget(Heading(heading, page), row, 0);
        layout->addWidget(box, row, 1);
    };

    // One control per setting of the table: a check box beside its group's
    // heading, the spin boxes in one group box.
    auto* decimals = new QGroupBox(
        QStringLiteral("Desetiná místa číselných údajů zobrazovaných výsledků:"), page);
    auto* form = new QFormLayout(decimals);
    form->setVerticalSpacing(2);
    const std::vector<int> values = ReadConfigSettings(main.settings());
    int row = 0;
    for (size_t i = 0; i < std::size(kConfigSettings); ++i) {
        const ConfigSetting& s = kConfigSettings[i];
        if (s.control == ConfigControl::kSpinBox) {
            auto* spin = new QSpinBox(decimals);
            spin->setObjectName(QString::fromLatin1(s.name));
            spin->setRange(0, s.maxValue);
            spin->setValue(values[i]);
            spin->setMaximumWidth(70);
            form->addRow(QString::fromUtf8(s.caption), spin);
            RSE.append(spin);
            controls_.append(spin);
            if (form->rowCount() == 1) layout->addWidget(decimals, row++, 0, 1, 3);
        } else {
            QCheckBox* box =
                Check(s.name, QString::fromUtf8(s.caption), QString::fromUtf8(s.hint), page);
            box->setChecked(values[i] != 0);
            option(row++,
                   s.group == ConfigGroup::kQueryResults
                       ? QStringLiteral(" Zobrazení výsledků dotazu:")
                       : QStringLiteral("Číselné vstupy:"),
                   box);
            controls_.append(box);
        }
    }
    Check1 = findChild<QCheckBox*>(QStringLiteral("Check1"));
    CVCh = findChild<QCheckBox*>(QStringLiteral("CVCh"));

    BorCheck1 = Check("BorCheck1", QStringLiteral("odstranit neplatné odkazy ze seznamu"),
                      QStringLiteral("možnost odstranit neplatné odkazy ze seznamu předchozích "
                                     "otevřených databází"),
                      page);
    option(row++, QStringLiteral("Předchozí databáze:"), BorCheck1);
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(2, 1);
    scroll->setWidget(page);
    body()->addWidget(scroll);

    BUloz = new QPushButton(QStringLiteral("ULOŽ"), this);
    BUloz->setObjectName(QStringLiteral("BUloz"));
    BUloz->setToolTip(QStringLiteral("Uloží nastavení"));
    BUloz->setStatusTip(BUloz->toolTip());
    BUloz->setDefault(true);
    buttonRow()->insertWidget(buttonRow()->count() - 1, BUloz);
    connect(BUloz, &QPushButton::clicked, this, &TFKonfig::BUlozClick);
}

bool TFKonfig::save() {
    std::vector<int> values;
    for (QWidget* control : controls_) {
        if (auto* spin = qobject_cast<QSpinBox*>(control)) {
            values.push_back(spin->value());
        } else {
            values.push_back(static_cast<QCheckBox*>(control)->isChecked() ? 1 : 0);
        }
    }
    const Status st = WriteConfigSettings(mainWindow().settings(), values);
    if (st.ok()) return true;
    ShowMsgBox(QStringLiteral("Nastavení nelze uložit:\n%1\nZkontroluj, zda lze zapisovat do "
                              "souboru nastavení, a ulož je znovu.")
                   .arg(QString::fromStdString(st.message())),
               MsgKind::kError, MsgButtons::kOk);
    return false;
}

void TFKonfig::tidyRecentList() {
    SettingsFile& ini = mainWindow().settings();
    // An entry that moves up into slot i is examined too, so one save
    // removes every invalid entry.
    for (int i = 1; i <= kRecentDbCount;) {
        const std::string entry = RecentDbRead(ini, i);
        const bool isDatabase = !entry.empty() && DatabaseFilesPresent(entry, 1);
        bool later = false;
        for (int k = i + 1; k <= kRecentDbCount && !later; ++k)
            later = !RecentDbRead(ini, k).empty();
        if (isDatabase || (entry.empty() && !later)) {
            ++i;
            continue;
        }
        const Status st = RecentDbRemove(ini, i);
        if (!st.ok()) {
            ShowMsgBox(QStringLiteral("Seznam předchozích databází nelze upravit:\n%1\n"
                                      "Zkontroluj, zda lze zapisovat do souboru nastavení.")
                           .arg(QString::fromStdString(st.message())),
                       MsgKind::kError, MsgButtons::kOk);
            return;
        }
    }
}

void TFKonfig::BUlozClick() {
    if (!save()) return;
    mainWindow().reloadDisplaySettings();
    if (BorCheck1->isChecked()) tidyRecentList();
    closeScreen();
}

}  // namespace kolvio
