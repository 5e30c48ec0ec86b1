// SPDX-License-Identifier: MIT
// A drawing surface that records every call, with simple fixed text metrics; for tests.
#pragma once

#include "render/surface.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

class RecordingSurface : public TSurface {
public:
  // One drawing call with the state it was drawn in. Queries (Get*, TextExtent) are not
  // recorded; state changes are, as calls without a bounding box.
  struct Call {
    std::string text;  // e.g. "LineTo(3,4)", "SetPenColor(255)", "TextOut(1,2,ja)"
    bool drawing = false;
    TRect bounds;  // pixels the call may touch, right and bottom exclusive
    TColor pen = 0, brush = 0, font = 0;
    int penWidth = 1;
    TPenStyle style = TPenStyle::Solid;
  };

  // Extent of a text: an override when set, else charWidth per byte by lineHeight.
  int charWidth = 6;
  int lineHeight = 13;
  std::map<std::string, TSize> extents;
  std::vector<Call> calls;
  int extentQueries = 0;

  void SetExtent(const std::string& text, int32_t cx, int32_t cy) { extents[text] = {cx, cy}; }
  TColor FontColor() const { return font_; }
  int PenWidth() const { return width_; }
  TPenStyle PenStyle() const { return style_; }

  // The recorded calls as text, one line each, optionally only drawing calls.
  std::vector<std::string> Lines(bool drawingOnly = false) const {
    std::vector<std::string> out;
    for (const Call& c : calls)
      if (!drawingOnly || c.drawing) out.push_back(c.text);
    return out;
  }

  void SetPenColor(TColor c) override {
    pen_ = c;
    State("SetPenColor(" + std::to_string(c) + ")");
  }
  TColor GetPenColor() const override { return pen_; }
  void SetPenWidth(int w) override {
    width_ = w;
    State("SetPenWidth(" + std::to_string(w) + ")");
  }
  void SetPenStyle(TPenStyle s) override {
    style_ = s;
    State(s == TPenStyle::Dotted ? "SetPenStyle(Dotted)" : "SetPenStyle(Solid)");
  }
  void SetBrushColor(TColor c) override {
    brush_ = c;
    State("SetBrushColor(" + std::to_string(c) + ")");
  }
  TColor GetBrushColor() const override { return brush_; }
  void SetFontColor(TColor c) override {
    font_ = c;
    State("SetFontColor(" + std::to_string(c) + ")");
  }
  void SetFontSize(int points) override { State("SetFontSize(" + std::to_string(points) + ")"); }
  void SetFontName(const std::string& face) override { State("SetFontName(" + face + ")"); }

  void MoveTo(int32_t x, int32_t y) override {
    pos_ = {x, y};
    State("MoveTo(" + Args({x, y}) + ")");
  }
  void LineTo(int32_t x, int32_t y) override {
    Drawing("LineTo(" + Args({x, y}) + ")", Span({pos_, {x, y}}));
    pos_ = {x, y};
  }
  void Polygon(const TPoint* points, int count) override {
    std::string s = "Polygon(";
    std::vector<TPoint> pts(points, points + count);
    for (int i = 0; i < count; ++i)
      s += (i ? ",(" : "(") + Args({points[i].x, points[i].y}) + ")";
    Drawing(s + ")", Span(pts));
  }
  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override {
    Drawing("Rectangle(" + Args({l, t, r, b}) + ")", {l, t, r, b});
  }
  void FillRect(int32_t l, int32_t t, int32_t r, int32_t b) override {
    Drawing("FillRect(" + Args({l, t, r, b}) + ")", {l, t, r, b});
  }
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override {
    Drawing("Ellipse(" + Args({l, t, r, b}) + ")", {l, t, r, b});
  }
  void TextOut(int32_t x, int32_t y, const std::string& text) override {
    const TSize e = Extent(text);
    Drawing("TextOut(" + Args({x, y}) + "," + text + ")", {x, y, x + e.cx, y + e.cy});
  }
  TSize TextExtent(const std::string& text) override {
    ++extentQueries;
    return Extent(text);
  }

private:
  TSize Extent(const std::string& text) const {
    auto it = extents.find(text);
    if (it != extents.end()) return it->second;
    return {static_cast<int32_t>(text.size()) * charWidth, lineHeight};
  }
  static std::string Args(std::initializer_list<int32_t> v) {
    std::string s;
    for (int32_t i : v) s += (s.empty() ? "" : ",") + std::to_string(i);
    return s;
  }
  // Bounds of a set of points, widened by the pen so wide lines count where they paint.
  TRect Span(const std::vector<TPoint>& pts) const {
    TRect r{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (const TPoint& p : pts) {
      r.left = std::min(r.left, p.x);
      r.top = std::min(r.top, p.y);
      r.right = std::max(r.right, p.x);
      r.bottom = std::max(r.bottom, p.y);
    }
    const int32_t grow = width_ / 2;
    return {r.left - grow, r.top - grow, r.right + grow + 1, r.bottom + grow + 1};
  }
  void State(std::string text) {
    Call c;
    c.text = std::move(text);
    Stamp(c);
    calls.push_back(std::move(c));
  }
  void Drawing(std::string text, TRect bounds) {
    Call c;
    c.text = std::move(text);
    c.drawing = true;
    c.bounds = bounds;
    Stamp(c);
    calls.push_back(std::move(c));
  }
  void Stamp(Call& c) const {
    c.pen = pen_;
    c.brush = brush_;
    c.font = font_;
    c.penWidth = width_;
    c.style = style_;
  }

  TColor pen_ = kBlack, brush_ = kWhite, font_ = kBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::Solid;
  TPoint pos_;
};
