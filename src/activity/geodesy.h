// Distances between positions on the WGS 84 ellipsoid.
#pragma once

namespace kolvio::activity {

inline constexpr double kEquatorialRadius = 6378137.0;    // metres, WGS 84 a
inline constexpr double kFlattening = 1 / 298.257223563;  // WGS 84 f
inline constexpr double kMeanRadius = 6371008.8;          // metres, (2a + b) / 3

// The length in metres of the shortest path on the ellipsoid between two
// positions in degrees.
//
// Consecutive samples of a ride lie metres apart, so the ellipsoid is
// replaced by its tangent plane at the middle latitude, scaled by the
// meridian radius M (north-south) and the prime-vertical radius N
// (east-west): d = sqrt((M·Δφ)² + (N·cos φ·Δλ)²). The error grows with the
// square of the length, about a millimetre for 10 km, so jumps longer than
// kPlaneLimit (a gap in the recording) are solved by Vincenty's iteration on
// the ellipsoid instead; for the nearly antipodal points where it does not
// converge, the sphere of the mean radius (within 0.5 %) is used.
double GeodesicDistance(double lat1, double lon1, double lat2, double lon2);

inline constexpr double kPlaneLimit = 20000;  // metres

}  // namespace kolvio::activity
