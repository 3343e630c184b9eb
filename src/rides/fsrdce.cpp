#include "rides/fsrdce.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "app/message_service.h"
#include "rides/ride_figures.h"

namespace kolvio {

namespace {

constexpr int kStartAge = 30;

struct Zone {
    const char* caption;
    const char* text;
};

// What each zone does for the rider, in plain words.
constexpr Zone kZones[5] = {
    {"nízká intenzita (50-60%)",
     "Pásmo pro začátečníky, starší lidi a lidi s větší nadváhou. Zátěž je mírná, dech zůstává "
     "klidný a při jízdě se dá volně mluvit. Zlepšuje základní kondici a tělo v něm spaluje "
     "hlavně tuky. Hodí se také na volné jízdy po náročném tréninku."},
    {"střední intenzita (60-70%)",
     "Pásmo pro ty, kdo se pravidelně hýbou už několik týdnů a chtějí se cítit ve formě. "
     "Posiluje srdce a zlepšuje jeho výkonnost, zvyšuje vytrvalost a stále spaluje velký podíl "
     "tuků. Tempo je svižné, ale dá se udržet dlouho."},
    {"vyšší intenzita (70-80%)",
     "Pásmo rozvoje vytrvalosti a výkonnosti. Tělo už spaluje hlavně glykogen, tedy cukry "
     "uložené ve svalech a v játrech, a při delší jízdě je proto třeba doplňovat energii. "
     "Zátěž je znatelná a dech zrychlený. Pro začátečníky není vhodné."},
    {"vysoká intenzita (80-90%)",
     "Pásmo jen pro zkušené a dobře trénované sportovce, kteří zvyšují rychlost a závodní "
     "výkonnost v krátkých úsecích. Zátěž je velmi vysoká a dlouho se nedá vydržet. Kdo je "
     "starší 35 let, měl by si před takovým tréninkem nechat udělat lékařský zátěžový test."},
    {"anaerobní práh (85-90%)",
     "Hranice, nad kterou svaly tvoří víc laktátu (kyseliny mléčné), než jej tělo stačí "
     "odbourat. Laktát se hromadí, vzniká kyslíkový dluh a tempo je brzy nutné snížit. "
     "Trénink těsně pod prahem posouvá práh výš, takže jezdec vydrží rychlejší tempo déle."},
};

QSpinBox* SpinBox(QWidget* parent, const char* name, int min, int max) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLineEdit* BoundBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    return box;
}

}  // namespace

TFSrdce::TFSrdce(TForm_hl& main) : TFData_Zakl(main) {
    setObjectName(QStringLiteral("FSrdce"));
    setWindowTitle(QStringLiteral("FSrdce"));
    Label1->setText(QStringLiteral("PROFIL TEPOVÉ FREKVENCE"));
    PoZasKonec->hide();
    setHelpContext(102);

    auto* profile = new QGroupBox(this);
    auto* grid = new QGridLayout(profile);
    RSEVek = SpinBox(profile, "RSEVek", 1, 150);
    RSEVek->setValue(kStartAge);
    auto* sex = new QGroupBox(QStringLiteral("pohlaví"), profile);
    sex->setObjectName(QStringLiteral("RGpohlavi"));
    auto* sexLayout = new QHBoxLayout(sex);
    RGpohlaviMuz = new QRadioButton(QStringLiteral("muž"), sex);
    RGpohlaviMuz->setObjectName(QStringLiteral("RGpohlaviMuz"));
    RGpohlaviZena = new QRadioButton(QStringLiteral("žena"), sex);
    RGpohlaviZena->setObjectName(QStringLiteral("RGpohlaviZena"));
    RGpohlaviMuz->setChecked(true);
    sexLayout->addWidget(RGpohlaviMuz);
    sexLayout->addWidget(RGpohlaviZena);
    RSEK = SpinBox(profile, "RSEK", kMinHeartRate, 150);
    RSEX = SpinBox(profile, "RSEX", kMinHeartRate, kMaxHeartRate);
    const std::pair<const char*, QSpinBox*> rows[] = {{"věk:", RSEVek},
                                                      {"klidová tepová frekvence:", RSEK},
                                                      {"maximální tepová frekvence:", RSEX}};
    // Each caption over its box, so that the zones keep the width.
    int row = 0;
    for (const auto& [caption, box] : rows) {
        auto* label = new QLabel(QString::fromUtf8(caption), profile);
        label->setBuddy(box);
        grid->addWidget(label, row++, 0);
        grid->addWidget(box, row++, 0, Qt::AlignLeft);
        if (box == RSEVek) grid->addWidget(sex, row++, 0);
    }
    grid->setRowStretch(row, 1);

    // Two columns of zones, each with its bounds over its explanation.
    auto* zones = new QGridLayout;
    zones->setSpacing(4);
    for (int i = 0; i < 5; ++i) {
        auto* group = new QGroupBox(QString::fromUtf8(kZones[i].caption), this);
        group->setObjectName(QStringLiteral("GroupBox%1").arg(i + 1));
        auto* inside = new QVBoxLayout(group);
        inside->setContentsMargins(4, 2, 4, 4);
        inside->setSpacing(2);
        auto* line = new QHBoxLayout;
        ELD[i] = BoundBox(group, QStringLiteral("ELD%1").arg(i + 1));
        ELH[i] = BoundBox(group, QStringLiteral("ELH%1").arg(i + 1));
        line->addWidget(ELD[i]);
        line->addWidget(new QLabel(QStringLiteral("_"), group));
        line->addWidget(ELH[i]);
        line->addStretch();
        zoneTexts[i] = new QTextBrowser(group);
        zoneTexts[i]->setObjectName(QStringLiteral("Memo%1").arg(i + 1));
        zoneTexts[i]->setPlainText(QString::fromUtf8(kZones[i].text));
        zoneTexts[i]->setFocusPolicy(Qt::ClickFocus);
        zoneTexts[i]->setMinimumHeight(zoneTexts[i]->fontMetrics().lineSpacing() * 2 + 8);
        inside->addLayout(line);
        inside->addWidget(zoneTexts[i], 1);
        zones->addWidget(group, i / 2, i % 2);
    }

    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(profile);
    columns->addLayout(zones, 1);
    // Too small a window scrolls instead of cutting the zones off.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    body()->addWidget(scroll, 1);
    layout()->setContentsMargins(4, 2, 4, 4);

    connect(RSEVek, &QSpinBox::valueChanged, this, &TFSrdce::RSEVekChange);
    connect(RGpohlaviMuz, &QRadioButton::toggled, this, &TFSrdce::RGpohlaviClick);
    connect(RSEK, &QSpinBox::valueChanged, this, &TFSrdce::RSEKChange);
    connect(RSEX, &QSpinBox::valueChanged, this, &TFSrdce::RSEXChange);

    // FormCreate
    RSEK->setValue(mainWindow().settings().readInteger(kRestingRateSection, kRestingRateKey,
                                                       kDefaultRestingRate));
    DopocetMaxTep();
    RSEVek->setFocus();
}

void TFSrdce::RSEVekChange() {
    DopocetMaxTep();
}

void TFSrdce::RGpohlaviClick() {
    DopocetMaxTep();
}

void TFSrdce::RSEKChange() {
    DopocetRozsahy();
}

void TFSrdce::RSEXChange() {
    DopocetRozsahy();
}

void TFSrdce::DopocetMaxTep() {
    const Sex sex = RGpohlaviZena->isChecked() ? Sex::kWoman : Sex::kMan;
    RSEX->setValue(AgeLimit(RSEVek->value(), sex));
    DopocetRozsahy();
}

void TFSrdce::DopocetRozsahy() {
    const std::array<ZoneBounds, 5> bounds = ZoneGroupBounds(RSEX->value(), RSEK->value());
    for (size_t i = 0; i < bounds.size(); ++i) {
        ELD[i]->setText(QString::number(bounds[i].lower));
        ELH[i]->setText(QString::number(bounds[i].upper));
    }
}

void TFSrdce::FormClose() {
    SettingsFile& ini = mainWindow().settings();
    Status st = ini.writeInteger(kRestingRateSection, kRestingRateKey, RSEK->value());
    if (st.ok()) st = ini.writeInteger(kAgeLimitSection, kAgeLimitKey, RSEX->value());
    if (st.failed()) {
        ShowMsgBox(QStringLiteral("Tepovou frekvenci nelze uložit do nastavení:\n%1\n"
                                  "Zkontroluj, zda lze zapisovat do souboru nastavení.")
                       .arg(QString::fromStdString(st.message())),
                   MsgKind::kError, MsgButtons::kOk);
    }
}

}  // namespace kolvio
