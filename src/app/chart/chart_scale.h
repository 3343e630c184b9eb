// The value axis: a range rounded to nice numbers, and number texts.
#pragma once

#include <QString>

namespace kolvio::chart {

// An axis from lo to hi in ticks of step (1, 2 or 5 times a power of ten).
struct ValueScale {
    double lo = 0;
    double hi = 1;
    double step = 1;
    int decimals = 0;  // what a tick text needs to tell neighbours apart

    int tickCount() const;
    double tick(int i) const { return lo + i * step; }
    // 0 at lo, 1 at hi.
    double fraction(double value) const { return (value - lo) / (hi - lo); }
};

// A scale covering min..max with at most about maxTicks ticks. Bars must
// stand on zero, so forceZero takes 0 into the range; otherwise 0 is taken
// in unless the values lie close together far from it (the smallest above
// five sixths of the largest), where a zero-based axis would flatten them.
// An empty span (all values equal, all 0) still gives a usable scale.
ValueScale NiceScale(double min, double max, int maxTicks, bool forceZero);

// A number with `decimals` places, a decimal point and its thousands
// grouped ("1 250 000.5"); never "-0".
QString FormatNumber(double value, int decimals);
// A value as a rider reads it: about seven significant digits, trailing
// zeros dropped ("12.3" for the single-precision 12.300000190734863).
QString FormatValue(double value);

}  // namespace kolvio::chart
