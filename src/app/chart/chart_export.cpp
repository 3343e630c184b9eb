#include "app/chart/chart_export.h"

#include <QBuffer>
#include <QFileDialog>
#include <QSaveFile>
#include <QSvgGenerator>

#include "app/chart/chart_painter.h"

namespace kolvio::chart {

namespace {

const QString kPngFilter = QStringLiteral("Obrázek PNG (*.png)");
const QString kSvgFilter = QStringLiteral("Obrázek SVG (*.svg)");

ChartFileChooser* g_chooser = nullptr;

QByteArray SvgBytes(const ChartData& data, const QSize& size, const QFont& font) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Graf"));
    QPainter painter(&generator);
    PaintChart(painter, LayOutChart(data, QRectF(QPointF(0, 0), size), font), data);
    painter.end();
    return buffer.data();
}

}  // namespace

ChartFileChooser& ChartFiles() {
    static DialogChartFileChooser dialog;
    return g_chooser ? *g_chooser : dialog;
}

ChartFileChooser* SetChartFileChooser(ChartFileChooser* chooser) {
    ChartFileChooser* previous = g_chooser;
    g_chooser = chooser;
    return previous;
}

std::optional<QString> DialogChartFileChooser::choose(QWidget* parent, const QString& startPath) {
    QFileDialog dialog(parent, QStringLiteral("Uložit graf jako obrázek"), startPath);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({kPngFilter, kSvgFilter});
    const bool svg = startPath.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    dialog.selectNameFilter(svg ? kSvgFilter : kPngFilter);
    dialog.setDefaultSuffix(svg ? QStringLiteral("svg") : QStringLiteral("png"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        dialog.setDefaultSuffix(f == kSvgFilter ? QStringLiteral("svg") : QStringLiteral("png"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

bool SaveChart(const ChartData& data, const QSize& size, const QFont& font, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        const QByteArray svg = SvgBytes(data, size, font);
        if (file.write(svg) != svg.size()) return false;
    } else if (!RenderChart(data, size, font).save(&file, "PNG")) {
        return false;
    }
    return file.commit();
}

}  // namespace kolvio::chart
