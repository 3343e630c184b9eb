#include "app/status_panels.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

namespace kolvio {

namespace {

QLabel* Panel(QStatusBar* bar, const QString& name, const QString& hint, int minWidth) {
    auto* label = new QLabel(bar);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(minWidth);
    label->setToolTip(hint);
    label->setStatusTip(hint);
    bar->addWidget(label);
    return label;
}

}  // namespace

StatusPanels::StatusPanels(QStatusBar* bar) : QObject(bar), bar_(bar) {
    bar_->setSizeGripEnabled(true);
    const int unit = bar_->fontMetrics().horizontalAdvance(QStringLiteral(" CAPS "));
    num_ = Panel(bar_, QStringLiteral("PanelNum"),
                 QStringLiteral("identifikace zapnutí/vypnutí klávesy NUMLOCK"), unit);
    caps_ = Panel(bar_, QStringLiteral("PanelCaps"),
                  QStringLiteral("identifikace zapnutí/vypnutí klávesy CAPSLOCK"), unit);
    date_ = Panel(bar_, QStringLiteral("PanelDate"), QStringLiteral("aktuální datum"),
                  bar_->fontMetrics().horizontalAdvance(QStringLiteral(" 88.88.8888 ")));
    time_ = Panel(bar_, QStringLiteral("PanelTime"), QStringLiteral("aktuální čas"),
                  bar_->fontMetrics().horizontalAdvance(QStringLiteral(" 88:88 ")));

    auto* free = new QFrame(bar_);
    free->setObjectName(QStringLiteral("PanelHint"));
    free->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(free);
    layout->setContentsMargins(2, 0, 2, 0);
    gauge_ = new QProgressBar(free);
    gauge_->setRange(0, 100);
    gauge_->setFixedWidth(120);
    gauge_->setMaximumHeight(bar_->fontMetrics().height() + 2);
    gauge_->hide();
    text_ = new QLabel(free);
    layout->addWidget(gauge_);
    layout->addWidget(text_, 1);
    bar_->addWidget(free, 1);

    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, &StatusPanels::tick);
    clock_->start(1000);
    tick();
}

void StatusPanels::tick() {
    const QDateTime now = QDateTime::currentDateTime();
    date_->setText(now.toString(QStringLiteral("d.M.yyyy")));
    time_->setText(now.toString(QStringLiteral("hh:mm")));
}

void StatusPanels::paintNow() {
    // Long work runs on the user-interface thread: paint before it goes on.
    if (bar_->isVisible()) bar_->repaint();
}

void StatusPanels::setText(const QString& text) {
    text_->setText(text);
    paintNow();
}

QString StatusPanels::text() const {
    return text_->text();
}

void StatusPanels::showGauge(const QString& text) {
    gauge_->setValue(0);
    gauge_->show();
    setText(text);
}

void StatusPanels::setGauge(int percent) {
    gauge_->setValue(qBound(0, percent, 100));
    paintNow();
}

void StatusPanels::hideGauge() {
    gauge_->hide();
    setText({});
}

bool StatusPanels::gaugeVisible() const {
    return !gauge_->isHidden();
}

int StatusPanels::gaugeValue() const {
    return gauge_->value();
}

}  // namespace kolvio
