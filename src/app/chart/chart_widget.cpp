#include "app/chart/chart_widget.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

#include "app/chart/chart_export.h"
#include "app/chart/chart_hit.h"
#include "app/chart/chart_painter.h"
#include "app/message_service.h"

namespace kolvio::chart {

ChartWidget::ChartWidget(QWidget* parent)
    : QWidget(parent),
      saveAction_(new QAction(QStringLiteral("&Uložit jako obrázek..."), this)),
      lastSavePath_(QDir::home().filePath(QStringLiteral("graf.png"))) {
    // Focusable, so that the menu key opens the context menu.
    setFocusPolicy(Qt::StrongFocus);
    saveAction_->setObjectName(QStringLiteral("MUlozObrazek"));
    saveAction_->setStatusTip(QStringLiteral("uloží graf do souboru PNG nebo SVG"));
    saveAction_->setEnabled(false);
    connect(saveAction_, &QAction::triggered, this, &ChartWidget::saveAsPicture);
}

void ChartWidget::setDrawMode(int mode) {
    if (!properties_.setDrawMode(mode)) return;
    shown_ = properties_.snapshot();
    layout_.reset();
    saveAction_->setEnabled(true);
    update();
}

const ChartLayout& ChartWidget::currentLayout() const {
    static const ChartData kNothing;
    if (!layout_) layout_ = LayOutChart(shown_ ? *shown_ : kNothing, QRectF(rect()), font());
    return *layout_;
}

QSize ChartWidget::pictureSize() const {
    const QSize own = size().expandedTo(QSize(1, 1));
    if (own.width() >= 1200) return own;
    return QSize(1200, std::max(1, own.height() * 1200 / own.width()));
}

void ChartWidget::saveAsPicture() {
    if (!shown_) return;
    const std::optional<QString> path = ChartFiles().choose(this, lastSavePath_);
    if (!path) return;
    lastSavePath_ = *path;
    if (SaveChart(*shown_, pictureSize(), font(), *path)) return;
    ShowMsgBox(QStringLiteral("Graf se nepodařilo uložit do souboru \"%1\".\n"
                              "Zkontrolujte, zda složka existuje, lze do ní zapisovat a je na "
                              "disku místo, a uložte graf znovu.")
                   .arg(QDir::toNativeSeparators(*path)),
               MsgKind::kError, MsgButtons::kOk);
}

bool ChartWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    std::optional<ChartHit> hit;
    if (shown_) hit = HitTest(currentLayout(), *shown_, help->pos());
    if (hit)
        QToolTip::showText(help->globalPos(), HitText(*shown_, *hit), this);
    else
        QToolTip::hideText();
    return true;
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (shown_)
        PaintChart(painter, currentLayout(), *shown_);
    else
        painter.fillRect(rect(), Qt::white);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
    layout_.reset();
    QWidget::resizeEvent(event);
}

void ChartWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addActions(menuActions_);
    if (!menuActions_.isEmpty()) menu.addSeparator();
    menu.addAction(saveAction_);
    menu.exec(event->globalPos());
}

}  // namespace kolvio::chart
