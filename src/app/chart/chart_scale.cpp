#include "app/chart/chart_scale.h"

#include <algorithm>
#include <cmath>

namespace kolvio::chart {

namespace {

// The smallest of 1, 2, 5 and 10 times a power of ten that is at least raw.
double NiceStep(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double mantissa = raw / power;
    if (mantissa <= 1.0) return power;
    if (mantissa <= 2.0) return 2 * power;
    if (mantissa <= 5.0) return 5 * power;
    return 10 * power;
}

int DecimalsFor(double step) {
    if (step >= 1) return 0;
    return std::clamp(int(-std::floor(std::log10(step) + 1e-9)), 0, 12);
}

}  // namespace

int ValueScale::tickCount() const {
    return int(std::lround((hi - lo) / step)) + 1;
}

ValueScale NiceScale(double min, double max, int maxTicks, bool forceZero) {
    if (!std::isfinite(min) || !std::isfinite(max) || min > max) min = max = 0;
    if (forceZero) {
        min = std::min(min, 0.0);
        max = std::max(max, 0.0);
    } else if (min >= 0 && min < max * 5 / 6) {
        min = 0;
    } else if (max <= 0 && max > min * 5 / 6) {
        max = 0;
    }
    if (max - min <= std::abs(max) * 1e-12) {
        // One value everywhere: a span around it (or 0..1 for zero).
        const double pad = max == 0 ? 1.0 : std::abs(max) * 0.1;
        min = forceZero && min >= 0 ? 0 : min - pad;
        max = forceZero && max <= 0 ? 0 : max + pad;
        if (min == max) max = min + 1;
    }
    ValueScale scale;
    scale.step = NiceStep((max - min) / std::max(1, maxTicks - 1));
    scale.lo = std::floor(min / scale.step) * scale.step;
    scale.hi = std::ceil(max / scale.step) * scale.step;
    if (scale.hi <= scale.lo) scale.hi = scale.lo + scale.step;
    scale.decimals = DecimalsFor(scale.step);
    return scale;
}

QString FormatNumber(double value, int decimals) {
    if (std::abs(value) >= 1e15) return QString::number(value, 'g', 3);
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(u'-') && text.count(u'0') == text.size() - 1 - (decimals > 0 ? 1 : 0))
        text.remove(0, 1);
    const qsizetype sign = text.startsWith(u'-') ? 1 : 0;
    qsizetype point = text.indexOf(u'.');
    if (point < 0) point = text.size();
    for (qsizetype at = point - 3; at > sign; at -= 3)
        text.insert(at, QChar(0x00A0));
    return text;
}

QString FormatValue(double value) {
    if (value == 0 || !std::isfinite(value)) return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(std::abs(value))));
    QString text = FormatNumber(value, std::clamp(6 - magnitude, 0, 6));
    if (text.contains(u'.') && !text.contains(u'e')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.')) text.chop(1);
    }
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

}  // namespace kolvio::chart
