// Saving a chart as a PNG or SVG picture.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <optional>

#include "app/chart/chart_data.h"

class QWidget;

namespace kolvio::chart {

// Asks where to save the picture. The program's chooser is a file dialog;
// tests install a scripted one.
class ChartFileChooser {
public:
    virtual ~ChartFileChooser() = default;
    // The chosen file name, ending ".png" or ".svg", or nullopt on cancel.
    virtual std::optional<QString> choose(QWidget* parent, const QString& startPath) = 0;
};

// The chooser in use (the dialog unless replaced).
ChartFileChooser& ChartFiles();
// Replaces the chooser; null puts the dialog back. Returns the previous one.
ChartFileChooser* SetChartFileChooser(ChartFileChooser* chooser);

// Qt's own save dialog with the filters "Obrázek PNG (*.png)" and
// "Obrázek SVG (*.svg)"; a name typed without an extension gets the one
// of the chosen filter.
class DialogChartFileChooser final : public ChartFileChooser {
public:
    std::optional<QString> choose(QWidget* parent, const QString& startPath) override;
};

// Writes the chart drawn at `size`: SVG when the name ends ".svg" (in any
// case), PNG otherwise. The file is replaced only by a complete picture.
// Returns false when it could not be written.
bool SaveChart(const ChartData& data, const QSize& size, const QFont& font, const QString& path);

}  // namespace kolvio::chart
