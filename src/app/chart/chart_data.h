// What the chart draws, and the property sequence that loads it.
//
// The result viewer loads a chart the way one loads the Graph control it
// replaces: DrawMode 1, NumPoints, the point labels, NumSets, then for each
// set ThisSet, its legend and for each point ThisPoint and GraphData, and
// finally DrawMode 2, which draws once. GraphProperties receives that
// sequence; every put outside its range is ignored, so no caller can make
// the chart index past its data.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kolvio::chart {

// GraphType values of the chart-type menu.
enum GraphType : int {
    kPie2D = 1,
    kPie3D = 2,
    kBar2D = 3,
    kBar3D = 4,
    kRange = 5,
    kLine = 6,
};

// GraphStyle values used with kLine; other styles draw lines with marks.
enum GraphStyle : int {
    kStyleBars = 0,
    kStylePoints = 1,
    kStylePlainLines = 4,
    kStyleMarkedLines = 5,
};

// The picture a GraphType and GraphStyle stand for.
enum class ChartKind { kLines, kMarkedLines, kPoints, kBars2D, kBars3D, kRange, kPie2D, kPie3D };
ChartKind KindOf(int graphType, int graphStyle);

// The largest counts accepted (the old control's counts were 16-bit), and
// the largest number of values held at once.
inline constexpr int kMaxPoints = 32767;
inline constexpr int kMaxSets = 32767;
inline constexpr long kMaxValues = 1L << 22;

// One loaded chart: numSets series over numPoints labelled points.
struct ChartData {
    int graphType = kBar2D;
    int graphStyle = kStyleBars;
    int numPoints = 0;
    int numSets = 0;
    std::vector<double> values;  // set by set: values[set * numPoints + point]
    QStringList labels;          // one per point, may be empty texts
    QStringList legends;         // one per set; all empty: no legend

    ChartKind kind() const { return KindOf(graphType, graphStyle); }
    double value(int set, int point) const { return values[size_t(set) * numPoints + point]; }
    bool hasLegend() const;
    bool isEmpty() const { return numPoints == 0 || numSets == 0; }
};

// Receives the property sequence. Indexes are from 1 as the caller puts
// them; an index or count out of range is ignored, and an out-of-range
// ThisSet or ThisPoint makes the following GraphData puts go nowhere
// rather than into another point.
class GraphProperties {
public:
    // Returns true for DrawMode 2: the caller draws data() now.
    bool setDrawMode(int mode);
    int drawMode() const { return drawMode_; }

    void setNumPoints(int count);
    void setNumSets(int count);
    void setThisSet(int set);
    void setThisPoint(int point);
    // The value of the current point of the current set; a value that is
    // not a number counts as 0, and values beyond the single-precision
    // range are brought to its ends.
    void setGraphData(double value);
    void setGraphType(int type);
    void setGraphStyle(int style);
    int graphType() const { return data_.graphType; }
    int graphStyle() const { return data_.graphStyle; }
    // Indexed label put: the x-axis label of point `index`.
    void setLabelText(int index, const QString& text);
    // Indexed legend put: the legend of set `index`.
    void setLegend(int index, const QString& text);
    // The legend of the current set; empty texts everywhere turn the
    // legend off.
    void setLegendText(const QString& text);

    const ChartData& data() const { return data_; }
    // The data to draw: when no point has a label, the points are labelled
    // with their numbers from 1.
    ChartData snapshot() const;

private:
    void resize(int points, int sets);

    ChartData data_;
    int drawMode_ = 1;
    int thisSet_ = 0;  // from 1; 0 while not valid
    int thisPoint_ = 0;
};

}  // namespace kolvio::chart
