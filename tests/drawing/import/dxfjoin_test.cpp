// Joining the complete import's pieces: the smallest gap between free ends, which the page
// proposes as the next joining distance, checked against every pair.
#include "drawing/import/complete/dxfjoin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace vornelle;

TEST(DxfJoin, SmallestGapIsTheNearestPairAboveJEvenInDenseColumns) {
    // Short pieces on a few columns (many ends share an x, as a sheet of parts drawn in a
    // grid), some ends within J of another: the gap reported is the smallest over every pair.
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::uniform_int_distribution<int> column(0, 3), row(0, 400);
        std::uniform_real_distribution<double> jitter(-0.02, 0.02);
        const double join = 0.01;
        std::vector<Piece> pieces;
        for (int i = 0; i < 300; ++i) {
            Piece p;
            double x = column(rng), y = row(rng) * 0.5 + jitter(rng);
            p.points = {{x, y, 0}, {x + 0.3 + jitter(rng), y + jitter(rng), 0}};
            pieces.push_back(p);
        }
        Contours c = joinPieces(pieces, join);
        std::vector<Vec3> ends;
        for (const Contour& k : c.list)
            if (!k.closed) ends.push_back(k.points.front()), ends.push_back(k.points.back());
        double best = INFINITY;
        for (size_t i = 0; i < ends.size(); ++i)
            for (size_t j = i + 1; j < ends.size(); ++j) {
                double d = std::hypot(ends[i].x - ends[j].x, ends[i].y - ends[j].y);
                if (d > join) best = std::min(best, d);
            }
        ASSERT_TRUE(c.smallestGap);
        EXPECT_DOUBLE_EQ(*c.smallestGap, best) << "round " << round;
    }
}
