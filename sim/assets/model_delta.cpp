// The delta wing model: a thin delta body with a small canopy on its centre
// line. Built on first use from two parametric surfaces and a closing strip;
// change the dimensions below and rebuild, the counts are padded exactly.
#include <cmath>

#include "sim/assets/model_data.h"

// Model units: point of the delta at +y, trailing edge at -y, z up.
const double DELTA_TIP_Y = 21.0;
const double DELTA_TAIL_Y = -28.3;
const double DELTA_HALF_SPAN = 45.7;  // at the trailing edge
const double DELTA_EDGE_Z = -0.6;     // where upper and lower skins meet
const double DELTA_CREST = 1.4;       // skin height above/below the edge plane on the centre line
const double CANOPY_FRONT_Y = -6.1;
const double CANOPY_REAR_Y = -18.1;
const double CANOPY_HALF_WIDTH = 3.2;
const double CANOPY_BASE_Z = 0.4;
const double CANOPY_TOP_Z = 4.6;

const int DELTA_BODY_TRIANGLES = 827;
const int DELTA_CANOPY_TRIANGLES = 26;

// Body skin; s runs from the point (0) to the trailing edge (1), u across the
// span from -1 to 1; side +1 is the upper skin, -1 the lower. The thickness
// grows over the first third so that the point is sharp.
static P3 DeltaSkin(double s, double u, double side)
{
    double across = 2.0 * u - 1.0;
    double grow = std::fmin(1.0, std::sqrt(s / 0.35));
    double z = DELTA_EDGE_Z + side * DELTA_CREST * (1.0 - across * across) * grow;
    return {across * DELTA_HALF_SPAN * s, DELTA_TIP_Y + s * (DELTA_TAIL_Y - DELTA_TIP_Y), z};
}

std::vector<MeshPart> BuildDeltaWingParts()
{
    const int ROWS = 16, COLUMNS = 12;
    MeshPart body = NewPart(0.1f, 0.05f, 0.5f);
    AddSurface(body, [](double s, double u) { return DeltaSkin(s, u, 1.0); }, ROWS, COLUMNS, false);
    AddSurface(body, [](double s, double u) { return DeltaSkin(s, u, -1.0); }, ROWS, COLUMNS, true);
    // Trailing-edge face between the two skins, facing -y.
    AddFlatSurface(body, [](double s, double u) {
        P3 top = DeltaSkin(1.0, u, 1.0), bottom = DeltaSkin(1.0, u, -1.0);
        return top + (bottom - top) * s;
    }, 1, COLUMNS, {0, -1, 0});
    PadToCount(body, DELTA_BODY_TRIANGLES, "delta 1");

    MeshPart canopy = NewPart(0.1f, 0.7f, 0.333333f);
    AddSurface(canopy, [](double s, double u) {
        double y = CANOPY_FRONT_Y + s * (CANOPY_REAR_Y - CANOPY_FRONT_Y);
        double bulge = std::sin(M_PI * s);
        double angle = M_PI * u;
        return P3{CANOPY_HALF_WIDTH * bulge * std::cos(angle), y,
                  CANOPY_BASE_Z + (CANOPY_TOP_Z - CANOPY_BASE_Z) * std::sqrt(bulge) * std::sin(angle)};
    }, 4, 4, true);
    PadToCount(canopy, DELTA_CANOPY_TRIANGLES, "delta 2");
    return {body, canopy};
}
