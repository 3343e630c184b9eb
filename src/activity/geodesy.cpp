#include "activity/geodesy.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace kolvio::activity {

namespace {

constexpr double kRad = std::numbers::pi / 180;
constexpr double kE2 = kFlattening * (2 - kFlattening);  // first eccentricity squared

double Haversine(double phi1, double phi2, double dLambda) {
    const double sinPhi = std::sin((phi2 - phi1) / 2);
    const double sinLambda = std::sin(dLambda / 2);
    const double h = sinPhi * sinPhi + std::cos(phi1) * std::cos(phi2) * sinLambda * sinLambda;
    return 2 * kMeanRadius * std::asin(std::sqrt(std::fmin(1.0, h)));
}

// Vincenty's inverse solution (1975); none when it does not converge.
std::optional<double> Vincenty(double phi1, double phi2, double dLambda) {
    const double b = kEquatorialRadius * (1 - kFlattening);
    const double u1 = std::atan((1 - kFlattening) * std::tan(phi1));
    const double u2 = std::atan((1 - kFlattening) * std::tan(phi2));
    const double sinU1 = std::sin(u1), cosU1 = std::cos(u1);
    const double sinU2 = std::sin(u2), cosU2 = std::cos(u2);
    double lambda = dLambda;
    for (int iteration = 0; iteration < 100; ++iteration) {
        const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
        const double sinSigma =
            std::hypot(cosU2 * sinLambda, cosU1 * sinU2 - sinU1 * cosU2 * cosLambda);
        if (sinSigma == 0) return 0.0;  // the same point
        const double cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
        const double sigma = std::atan2(sinSigma, cosSigma);
        const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
        const double cos2Alpha = 1 - sinAlpha * sinAlpha;
        // On the equator cos²α is 0 and the term below vanishes.
        const double cos2SigmaM = cos2Alpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cos2Alpha : 0;
        const double c = kFlattening / 16 * cos2Alpha * (4 + kFlattening * (4 - 3 * cos2Alpha));
        const double previous = lambda;
        lambda = dLambda +
                 (1 - c) * kFlattening * sinAlpha *
                     (sigma + c * sinSigma *
                                  (cos2SigmaM + c * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
        if (std::fabs(lambda - previous) < 1e-12) {
            const double uu = cos2Alpha * (kEquatorialRadius * kEquatorialRadius - b * b) / (b * b);
            const double a = 1 + uu / 16384 * (4096 + uu * (-768 + uu * (320 - 175 * uu)));
            const double bb = uu / 1024 * (256 + uu * (-128 + uu * (74 - 47 * uu)));
            const double deltaSigma =
                bb * sinSigma *
                (cos2SigmaM + bb / 4 *
                                  (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                                   bb / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                                       (-3 + 4 * cos2SigmaM * cos2SigmaM)));
            return b * a * (sigma - deltaSigma);
        }
    }
    return std::nullopt;
}

}  // namespace

double GeodesicDistance(double lat1, double lon1, double lat2, double lon2) {
    const double phi1 = lat1 * kRad;
    const double phi2 = lat2 * kRad;
    double dLambda = (lon2 - lon1) * kRad;
    // The shorter way round across the date line.
    if (dLambda > std::numbers::pi) dLambda -= 2 * std::numbers::pi;
    if (dLambda < -std::numbers::pi) dLambda += 2 * std::numbers::pi;

    const double phi = (phi1 + phi2) / 2;
    const double sinPhi = std::sin(phi);
    const double w2 = 1 - kE2 * sinPhi * sinPhi;
    const double n = kEquatorialRadius / std::sqrt(w2);                     // prime vertical
    const double m = kEquatorialRadius * (1 - kE2) / (w2 * std::sqrt(w2));  // meridian
    const double north = m * (phi2 - phi1);
    const double east = n * std::cos(phi) * dLambda;
    const double plane = std::hypot(north, east);
    if (plane <= kPlaneLimit || !std::isfinite(plane)) return plane;
    return Vincenty(phi1, phi2, dLambda).value_or(Haversine(phi1, phi2, dLambda));
}

}  // namespace kolvio::activity
