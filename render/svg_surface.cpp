// SPDX-License-Identifier: MIT
#include "render/svg_surface.h"

#include "render/raster_geometry.h"
#include "render/windows1252.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace {

constexpr size_t kFlushBytes = 1 << 16;

// "#rrggbb" of a colour 0x00BBGGRR.
std::string Hex(TColor c) {
  static const char digits[] = "0123456789abcdef";
  std::string out = "#";
  for (int shift : {0, 8, 16}) {
    out += digits[(c >> (shift + 4)) & 0xF];
    out += digits[(c >> shift) & 0xF];
  }
  return out;
}

// A rectangle given by its four corners in either order around it.
bool IsRectangle(const TPoint* p, int count) {
  if (count != 4)
    return false;
  const bool across = p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x;
  const bool down = p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y;
  return across || down;
}

// Pixels as rectangles: runs of a row, and runs above or below each other in the same columns
// joined.
class Boxes : public TSpanSink {
public:
  struct Box {
    int64_t left, top, right, bottom;
  };
  void Span(int64_t y, int64_t x0, int64_t x1) override {
    if (!boxes.empty()) {
      Box& last = boxes.back();
      if (last.left == x0 && last.right == x1 && (last.bottom == y || last.top == y + 1)) {
        last.top = std::min(last.top, y);
        last.bottom = std::max(last.bottom, y + 1);
        return;
      }
    }
    boxes.push_back({x0, y, x1, y + 1});
  }
  std::vector<Box> boxes;
};

} // namespace

TSvgSurface::TSvgSurface(TStream& out, TPictureToolkit& toolkit) : out_(out), toolkit_(toolkit) {
  UseFont();
}

void TSvgSurface::Begin(int32_t width, int32_t height, const std::string& title,
                        TColor background) {
  rootFont_ = fontAttributes_;
  Put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"");
  Num(width);
  Put("\" height=\"");
  Num(height);
  Put("\" viewBox=\"0 0 ");
  Num(width);
  Put(" ");
  Num(height);
  // Crisp edges: the picture is made of whole pixels, as on screen.
  Put("\" shape-rendering=\"crispEdges\" xml:space=\"preserve\"");
  Put(rootFont_);
  Put(">\n<title>");
  Escaped(title);
  Put("</title>\n");
  const TColor brush = brush_;
  brush_ = background;
  FillRect(0, 0, width, height);
  brush_ = brush;
}

void TSvgSurface::Put(const char* text) {
  buffer_ += text;
}

void TSvgSurface::Num(int64_t value) {
  char digits[24];
  buffer_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void TSvgSurface::Colour(TColor color) {
  buffer_ += Hex(color);
}

void TSvgSurface::Escaped(const std::string& bytes) {
  for (unsigned char b : bytes) {
    switch (b) {
    case '&':
      buffer_ += "&amp;";
      break;
    case '<':
      buffer_ += "&lt;";
      break;
    case '>':
      buffer_ += "&gt;";
      break;
    case '"':
      buffer_ += "&quot;";
      break;
    default:
      AppendUtf8(buffer_, ShownCharacter(b));
    }
  }
}

void TSvgSurface::Flush(bool all) {
  if (!all && buffer_.size() < kFlushBytes)
    return;
  out_.WriteBuffer(buffer_.data(), buffer_.size());
  buffer_.clear();
}

void TSvgSurface::Finish() {
  Put("</svg>\n");
  Flush(true);
}

void TSvgSurface::SetFontSize(int points) {
  toolkit_.SetFontSize(points);
  UseFont();
}

void TSvgSurface::SetFontName(const std::string& face) {
  toolkit_.SetFontName(face);
  UseFont();
}

void TSvgSurface::UseFont() {
  const TFontFace face = toolkit_.Face();
  ascent_ = face.ascent;
  std::string family;
  for (char c : face.family) {
    if (c == '\'' || c == '"' || c == '&' || c == '<')
      continue;
    family += c;
  }
  // Named with a generic fallback, so that a viewer without the font still shows text.
  fontAttributes_ = " font-family=\"'" + family + "', sans-serif\" font-size=\"" +
                    std::to_string(face.pixelSize) + "\"";
}

void TSvgSurface::LineTo(int32_t x, int32_t y) {
  Boxes pixels;
  LinePixels(pos_, {x, y}, style_ == TPenStyle::Dotted, {INT32_MIN, int64_t{INT32_MAX} + 1},
             pixels);
  pos_ = {x, y};
  if (pixels.boxes.empty())
    return;
  const TColor brush = brush_;
  brush_ = pen_;
  if (pixels.boxes.size() == 1) {
    const Boxes::Box& b = pixels.boxes[0];
    FillRect(static_cast<int32_t>(b.left), static_cast<int32_t>(b.top),
             static_cast<int32_t>(b.right), static_cast<int32_t>(b.bottom));
  } else {
    Put("<path fill=\"");
    Colour(pen_);
    Put("\" d=\"");
    for (const Boxes::Box& b : pixels.boxes) {
      Put("M");
      Num(b.left);
      Put(" ");
      Num(b.top);
      Put("h");
      Num(b.right - b.left);
      Put("v");
      Num(b.bottom - b.top);
      Put("h");
      Num(b.left - b.right);
      Put("z");
    }
    Put("\"/>\n");
  }
  brush_ = brush;
  Flush(false);
}

void TSvgSurface::DottedFrame(int64_t left, int64_t top, int64_t right, int64_t bottom,
                              int64_t parity) {
  // Each side a dashed line of one-pixel dashes, starting on its first painted pixel and ending
  // after a gap, so that every side starts a dash whether a viewer restarts the pattern for
  // each side or carries it on.
  auto side = [parity, this](int64_t across, int64_t from, int64_t to, bool rows,
                             const char* command) {
    auto on = [&](int64_t along) { return ((along + across) & 1) == parity; };
    const int64_t first = on(from) ? from : from + 1;
    if (first > to)
      return;
    const int64_t last = on(to) ? to : to - 1;
    Put("M");
    Num(rows ? first : across);
    Put(" ");
    Num(rows ? across : first);
    Put(command);
    Num(last + 2);
  };
  const char* style = "\" fill=\"none\" stroke-dasharray=\"1\" d=\"";
  // Rows: pixel centres half a unit down; columns: half a unit to the right.
  Put("<path transform=\"translate(0 .5)\" stroke=\"");
  Colour(pen_);
  Put(style);
  side(top, left, right, true, "H");
  if (bottom != top)
    side(bottom, left, right, true, "H");
  Put("\"/>\n<path transform=\"translate(.5 0)\" stroke=\"");
  Colour(pen_);
  Put(style);
  side(left, top, bottom, false, "V");
  if (right != left)
    side(right, top, bottom, false, "V");
  Put("\"/>\n");
}

void TSvgSurface::Ring(int64_t left, int64_t top, int64_t right, int64_t bottom,
                       const std::string& paint) {
  Put("<path fill=\"");
  Put(paint);
  Put("\" fill-rule=\"evenodd\" d=\"M");
  Num(left);
  Put(" ");
  Num(top);
  Put("H");
  Num(right);
  Put("V");
  Num(bottom);
  Put("H");
  Num(left);
  Put("z");
  if (right - left > 2 && bottom - top > 2) {
    Put("M");
    Num(left + 1);
    Put(" ");
    Num(top + 1);
    Put("V");
    Num(bottom - 1);
    Put("H");
    Num(right - 1);
    Put("V");
    Num(top + 1);
    Put("z");
  }
  Put("\"/>\n");
}

void TSvgSurface::Polygon(const TPoint* points, int count) {
  if (count < 2)
    return;
  if (IsRectangle(points, count)) {
    // The inside and the outline exactly as the PNG has them: the corners' pixels are the
    // outline's outermost pixels.
    int64_t left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (int i = 1; i < 4; ++i) {
      left = std::min<int64_t>(left, points[i].x);
      right = std::max<int64_t>(right, points[i].x);
      top = std::min<int64_t>(top, points[i].y);
      bottom = std::max<int64_t>(bottom, points[i].y);
    }
    FillRect(static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
             static_cast<int32_t>(bottom));
    if (style_ == TPenStyle::Dotted) {
      // The PNG's dots: the outline pixels whose x + y differs in parity from the first
      // corner's.
      DottedFrame(left, top, right, bottom, ((points[0].x + points[0].y) & 1) ^ 1);
    } else {
      Ring(left, top, right + 1, bottom + 1, Hex(pen_));
    }
    Flush(false);
    return;
  }
  // Edges through the pixel centres, as the PNG's outline runs.
  Put("<polygon transform=\"translate(.5 .5)\" fill=\"");
  Colour(brush_);
  Put("\" stroke=\"");
  Colour(pen_);
  Put(style_ == TPenStyle::Dotted ? "\" stroke-dasharray=\"1\" points=\"" : "\" points=\"");
  for (int i = 0; i < count; ++i) {
    if (i > 0)
      Put(" ");
    Num(points[i].x);
    Put(",");
    Num(points[i].y);
  }
  Put("\"/>\n");
  Flush(false);
}

void TSvgSurface::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  FillRect(left, top, right, bottom);
  Ring(left, top, right, bottom, Hex(pen_));
  Flush(false);
}

void TSvgSurface::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (right <= left || bottom <= top)
    return;
  Put("<rect x=\"");
  Num(left);
  Put("\" y=\"");
  Num(top);
  Put("\" width=\"");
  Num(int64_t{right} - left);
  Put("\" height=\"");
  Num(int64_t{bottom} - top);
  Put("\" fill=\"");
  Colour(brush_);
  Put("\"/>\n");
  Flush(false);
}

void TSvgSurface::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  // Inscribed in the pixels left to right - 1: through the centres of the outermost ones.
  const int64_t w = int64_t{right} - left - 1, h = int64_t{bottom} - top - 1;
  Put("<ellipse transform=\"translate(.5 .5)\" cx=\"");
  auto half = [this](int64_t twice) {
    Num(twice / 2);
    if (twice % 2)
      Put(".5");
  };
  half(2 * int64_t{left} + w);
  Put("\" cy=\"");
  half(2 * int64_t{top} + h);
  Put("\" rx=\"");
  half(w);
  Put("\" ry=\"");
  half(h);
  Put("\" fill=\"");
  Colour(brush_);
  Put("\" stroke=\"");
  Colour(pen_);
  Put("\"/>\n");
  Flush(false);
}

void TSvgSurface::TextOut(int32_t x, int32_t y, const std::string& text) {
  const TSize extent = TextExtent(text);
  FillRect(x, y, x + extent.cx, y + extent.cy);
  if (text.empty())
    return;
  Put("<text x=\"");
  Num(x);
  Put("\" y=\"");
  Num(int64_t{y} + ascent_);
  Put("\" fill=\"");
  Colour(font_);
  Put("\"");
  if (fontAttributes_ != rootFont_)
    Put(fontAttributes_);
  // The width the layout reserved, also where a viewer's font differs.
  Put(" textLength=\"");
  Num(extent.cx);
  Put("\" lengthAdjust=\"spacingAndGlyphs\">");
  Escaped(text);
  Put("</text>\n");
  Flush(false);
}
