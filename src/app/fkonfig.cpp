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

#include "app/display_format.h"
#include "app/form_hl.h"
#include "app/message_service.h"
#include "app/recent_databases.h"

namespace kolvio {

namespace {

constexpr char kQuerySection[] = "Zobr_dotaz1";
constexpr char kIndexKey[] = "index_soubory";

// Labels of the seven counts, in the order of kDecimalSettings.
const char* const kDecimalLabels[] = {
    "Jízda průměr:",
    "Jízda délka:",
    "Maximální rychlost:",
    "Tep. frekvence (průměr, max, ..):",
    "Překročení limitu tep. frekvence v %:",
    "Poměrné hodnoty tep. frekvence:",
    "Energie v kcal:",
};

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

    Check1 = Check("Check1", QStringLiteral("připravit indexové soubory předem"),
                   QStringLiteral("Indexy pro seřezování dat budou vytvářeny před zobrazením dat "
                                  "- doporučeno"),
                   page);
    option(0, QStringLiteral(" Zobrazení výsledků dotazu:"), Check1);

    auto* group = new QGroupBox(
        QStringLiteral("Desetiná místa číselných údajů zobrazovaných výsledků:"), page);
    auto* form = new QFormLayout(group);
    form->setVerticalSpacing(2);
    const SettingsFile& ini = main.settings();
    for (size_t i = 0; i < std::size(kDecimalSettings); ++i) {
        const DecimalSetting& s = kDecimalSettings[i];
        auto* spin = new QSpinBox(group);
        spin->setObjectName(QStringLiteral("RSE_%1").arg(QString::fromLatin1(s.key)));
        spin->setRange(0, s.maxValue);
        spin->setValue(
            qBound(0, ini.readInteger(kDecimalsSection, s.key, s.defaultValue), s.maxValue));
        spin->setMaximumWidth(70);
        form->addRow(QString::fromUtf8(kDecimalLabels[i]), spin);
        RSE.append(spin);
    }
    layout->addWidget(group, 1, 0, 1, 3);

    CVCh = Check("CVCh", QStringLiteral("zaměňovat čárku za tečku"),
                 QStringLiteral("ne/zaměňovat čárku za tečku u vstupů s reálným číslem"), page);
    option(2, QStringLiteral("Číselné vstupy:"), CVCh);
    BorCheck1 = Check("BorCheck1", QStringLiteral("odstranit neplatné odkazy ze seznamu"),
                      QStringLiteral("možnost odstranit neplatné odkazy ze seznamu předchozích "
                                     "otevřených databází"),
                      page);
    option(3, QStringLiteral("Předchozí databáze:"), BorCheck1);
    layout->setRowStretch(4, 1);
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

    Check1->setChecked(ini.readBool(kQuerySection, kIndexKey, false));
    CVCh->setChecked(ini.readBool(kSetupSection, kCommaKey, true));
}

bool TFKonfig::save() {
    DisplaySettings display;
    for (size_t i = 0; i < std::size(kDecimalSettings); ++i) {
        display.*(kDecimalSettings[i].field) = RSE.at(static_cast<int>(i))->value();
    }
    display.zamenTeckaCarka = CVCh->isChecked();
    SettingsFile& ini = mainWindow().settings();
    Status st = ini.writeBool(kQuerySection, kIndexKey, Check1->isChecked());
    if (st.ok()) st = SaveDisplaySettings(ini, display);
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
