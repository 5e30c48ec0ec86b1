// SPDX-License-Identifier: MIT
#include "render/raster_geometry.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Positions along a line are fixed-point numbers with 16 fraction bits, as the toolkit's line
// and fill rasterisers compute them; in 64 bits no picture coordinate overflows them.
constexpr int64_t kOne = int64_t{1} << 16;
constexpr int64_t kHalf = kOne / 2;

// Rounds down: an arithmetic shift.
int64_t Floor16(int64_t fixed) {
  return fixed >> 16;
}

// Change of the minor coordinate per step along the major axis, truncated toward zero.
int64_t Increment(int64_t minorDelta, int64_t majorLength) {
  return minorDelta * kOne / majorLength;
}

} // namespace

void LinePixels(TPoint from, TPoint to, bool dotted, TRowBand rows, TSpanSink& out) {
  const int64_t dx = int64_t{to.x} - from.x, dy = int64_t{to.y} - from.y;
  if (dx == 0 && dy == 0)
    return;
  const bool vertical = std::abs(dx) < std::abs(dy);
  const int64_t majorDelta = vertical ? dy : dx, minorDelta = vertical ? dx : dy;
  const int64_t length = std::abs(majorDelta), step = majorDelta > 0 ? 1 : -1;
  const int64_t inc = Increment(minorDelta, length);
  const int64_t minor = int64_t{vertical ? from.x : from.y} * kOne + (inc > 0 ? inc / 2 : 0);
  const int64_t start = vertical ? from.y : from.x;
  // Step k paints (start + k * step) on the major axis and Floor16(minor + k * inc) on the other.
  if (vertical) {
    // One row per step: only the steps whose rows lie in the band.
    const int64_t k0 = std::max<int64_t>(0, step > 0 ? rows.top - start : start - rows.bottom + 1);
    const int64_t k1 = std::min(length, step > 0 ? rows.bottom - start : start - rows.top + 1);
    for (int64_t k = k0; k < k1; ++k) {
      if (dotted && (k & 1))
        continue;
      const int64_t x = Floor16(minor + k * inc);
      out.Span(start + step * k, x, x + 1);
    }
    return;
  }
  if (inc == 0 && (Floor16(minor) < rows.top || Floor16(minor) >= rows.bottom))
    return;
  // Steps along a row make one run, or every other step one pixel when dotted.
  int64_t runFirst = 0;
  for (int64_t k = 0; k < length; ++k) {
    const int64_t y = Floor16(minor + k * inc);
    const bool ends = dotted || k + 1 == length || Floor16(minor + (k + 1) * inc) != y;
    if (!ends)
      continue;
    if (y >= rows.top && y < rows.bottom && !(dotted && (k & 1))) {
      const int64_t a = start + step * runFirst, b = start + step * k;
      out.Span(y, std::min(a, b), std::max(a, b) + 1);
    }
    runFirst = k + 1;
  }
}

void PolygonFillPixels(const TPoint* points, int count, TRowBand rows, TSpanSink& out) {
  if (count < 3)
    return;
  struct Edge {
    int64_t top, bottom; // rows top to bottom - 1
    int64_t x, slope;    // position on row `top`, and per row
  };
  std::vector<Edge> edges;
  int64_t minY = INT64_MAX, maxY = INT64_MIN;
  for (int i = 0; i < count; ++i) {
    TPoint a = points[i], b = points[(i + 1) % count];
    if (a.y == b.y)
      continue;
    if (a.y > b.y)
      std::swap(a, b);
    // Sampled at row centres: an edge covers the rows from its upper end down to the row above its
    // lower end; its x is taken half a pixel to the right and rounded down.
    const double ratio =
        static_cast<double>(int64_t{b.x} - a.x) / static_cast<double>(int64_t{b.y} - a.y);
    const int64_t slope = static_cast<int64_t>(ratio * static_cast<double>(kOne));
    edges.push_back({a.y, b.y, int64_t{a.x} * kOne + kHalf + ((slope * kHalf) >> 16), slope});
    minY = std::min<int64_t>(minY, a.y);
    maxY = std::max<int64_t>(maxY, b.y);
  }
  std::vector<int64_t> xs;
  for (int64_t y = std::max(minY, rows.top); y < std::min(maxY, rows.bottom); ++y) {
    xs.clear();
    for (const Edge& e : edges)
      if (e.top <= y && y < e.bottom)
        xs.push_back(Floor16(e.x + (y - e.top) * e.slope));
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      if (xs[i] < xs[i + 1])
        out.Span(y, xs[i], xs[i + 1]);
  }
}

namespace {

// Writes the pixels of an edge: steps first to last - 1 along the major axis, the minor
// coordinate at step m being Floor16(minor + (m - first) * inc). Rows outside the band are
// skipped; keep(x, y) picks the pixels of a dotted pen.
template <class Keep>
void EmitRun(bool vertical, int64_t first, int64_t last, int64_t minor, int64_t inc, TRowBand rows,
             TSpanSink& out, Keep keep) {
  if (vertical) {
    const int64_t from = std::max(first, rows.top), to = std::min(last, rows.bottom);
    for (int64_t y = from; y < to; ++y) {
      const int64_t x = Floor16(minor + (y - first) * inc);
      if (keep(x, y))
        out.Span(y, x, x + 1);
    }
    return;
  }
  if (inc == 0 && (Floor16(minor) < rows.top || Floor16(minor) >= rows.bottom))
    return;
  // Along a row: runs of kept pixels.
  int64_t runStart = first, runRow = Floor16(minor);
  auto flush = [&](int64_t end) {
    if (runStart < end && runRow >= rows.top && runRow < rows.bottom)
      out.Span(runRow, runStart, end);
  };
  for (int64_t x = first; x < last; ++x) {
    const int64_t y = Floor16(minor + (x - first) * inc);
    if (y != runRow || !keep(x, y)) {
      flush(x);
      runRow = y;
      runStart = keep(x, y) ? x : x + 1;
    }
  }
  flush(last);
}

// The toolkit's one-pixel outline of a closed polygon: each edge is a run along its longer axis,
// and where edges meet, a pixel the previous edge already painted is left out, a diagonal gap
// is closed, and a reversal of direction extends the edge by half a pixel.
class OutlineTracer {
public:
  OutlineTracer(TRowBand rows, TSpanSink& out, bool dotted, TPoint origin)
      : rows_(rows), out_(out), dotted_(dotted), parity_((int64_t{origin.x} + origin.y) & 1) {}

  // Where and in which direction the closing edge ends, so that the first edge can join it.
  void Prime(TPoint a, TPoint b) {
    last_ = Px{};
    Geometry g = Measure(a, b);
    if (!g.valid || g.first == g.last)
      return;
    g.pos += ((g.first << 6) + g.round - g.from) * g.inc >> 6;
    const int64_t lastMinor = Floor16(g.pos + (g.last - g.first - 1) * g.inc);
    last_ = g.swapped ? Pixel(g.vertical, g.first, Floor16(g.pos))
                      : Pixel(g.vertical, g.last - 1, lastMinor);
    dir_ = g.dir;
    axisAligned_ = std::abs(g.inc) < (int64_t{1} << 14);
  }

  void Edge(TPoint a, TPoint b) {
    Geometry g = Measure(a, b);
    if (!g.valid)
      return;
    const int mask = g.vertical ? kVertical : kHorizontal;
    int caps = 0;
    if ((dir_ ^ mask) == g.dir)
      caps |= g.swapped ? kCapEnd : kCapBegin;
    if (caps & kCapBegin) {
      g.from -= 32;
      g.pos -= g.inc >> 1;
    }
    if (caps & kCapEnd)
      g.to += 32;
    int64_t m = (g.from + 32) >> 6, ms = (g.to + 32) >> 6;
    if (m == ms)
      return;
    int64_t pos = g.pos + (((m << 6) + g.round - g.from) * g.inc >> 6);
    Px first = Pixel(g.vertical, m, Floor16(pos));
    Px lastPx = Pixel(g.vertical, ms - 1, Floor16(pos + (ms - m - 1) * g.inc));
    if (g.swapped)
      std::swap(first, lastPx);
    const bool aligned = std::abs(g.inc) < (int64_t{1} << 14);
    if (last_.valid) {
      const int64_t ddx = std::abs(last_.x - first.x), ddy = std::abs(last_.y - first.y);
      if (first.x == last_.x && first.y == last_.y) { // painted already
        if (g.swapped) {
          --ms;
        } else {
          ++m;
          pos += g.inc;
        }
      } else if (dir_ != g.dir &&
                 ((aligned && axisAligned_ && last_.x != first.x && last_.y != first.y) ||
                  ddx > 1 || ddy > 1)) { // a gap at the corner
        if (g.swapped) {
          ++ms;
        } else {
          --m;
          pos -= g.inc;
        }
      }
    }
    dir_ = g.dir;
    axisAligned_ = aligned;
    // At least one pixel, also when the corner handling emptied the run.
    const int64_t end = std::max(ms, m + 1);
    const bool dotted = dotted_;
    const int64_t parity = parity_;
    EmitRun(g.vertical, m, end, pos, g.inc, rows_, out_, [dotted, parity](int64_t x, int64_t y) {
      return !dotted || ((x + y - parity) & 1) != 0;
    });
    last_ = lastPx;
  }

private:
  static constexpr int kTopToBottom = 1, kBottomToTop = 2, kLeftToRight = 4, kRightToLeft = 8;
  static constexpr int kVertical = 3, kHorizontal = 12;
  static constexpr int kCapBegin = 1, kCapEnd = 2;

  struct Px {
    int64_t x = 0, y = 0;
    bool valid = false;
  };
  static Px Pixel(bool vertical, int64_t major, int64_t minor) {
    return vertical ? Px{minor, major, true} : Px{major, minor, true};
  }

  // An edge in 26.6 fixed point, ordered along its major axis.
  struct Geometry {
    bool valid = false, vertical = false, swapped = false;
    int dir = 0;
    int64_t from = 0, to = 0; // major axis, 26.6
    int64_t pos = 0, inc = 0; // minor axis, 16.16, at `from`
    int64_t round = 0;
    int64_t first = 0, last = 0; // major pixel range
  };
  static Geometry Measure(TPoint a, TPoint b) {
    Geometry g;
    int64_t x1 = int64_t{a.x} * 64, y1 = int64_t{a.y} * 64;
    int64_t x2 = int64_t{b.x} * 64, y2 = int64_t{b.y} * 64;
    g.vertical = std::abs(x2 - x1) < std::abs(y2 - y1);
    if (!g.vertical && x2 == x1)
      return g;
    if (g.vertical) {
      std::swap(x1, y1);
      std::swap(x2, y2);
    }
    g.dir = g.vertical ? kTopToBottom : kLeftToRight;
    if (x1 > x2) {
      g.swapped = true;
      std::swap(x1, x2);
      std::swap(y1, y2);
      g.dir = g.vertical ? kBottomToTop : kRightToLeft;
    }
    g.inc = (y2 - y1) * kOne / (x2 - x1);
    g.pos = y1 * 1024;
    g.from = x1;
    g.to = x2;
    g.round = g.inc > 0 ? 32 : 0;
    g.first = (x1 + 32) >> 6;
    g.last = (x2 + 32) >> 6;
    g.valid = true;
    return g;
  }

  TRowBand rows_;
  TSpanSink& out_;
  bool dotted_;
  int64_t parity_;
  Px last_;
  int dir_ = 0;
  bool axisAligned_ = false;
};

} // namespace

void PolygonOutlinePixels(const TPoint* points, int count, bool dotted, TRowBand rows,
                          TSpanSink& out) {
  // A closing corner that repeats the first one adds nothing.
  if (count > 2 && points[count - 1] == points[0])
    --count;
  if (count < 2)
    return;
  OutlineTracer tracer(rows, out, dotted, points[0]);
  tracer.Prime(points[count - 1], points[0]);
  for (int i = 0; i + 1 < count; ++i)
    tracer.Edge(points[i], points[i + 1]);
  tracer.Edge(points[count - 1], points[0]);
}
