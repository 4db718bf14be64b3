#include "desk/cutout/cutout_editor.h"

#include <algorithm>
#include <cmath>

namespace coiffure {

namespace {

// A box narrower or lower than this in the window is a slip of the hand, not a box.
constexpr int kMinBoxSide = 4;

}  // namespace

CutoutEditor::CutoutEditor(int photo_width, int photo_height, const cutout::Sketch& kept)
    : photo_width_(photo_width),
      photo_height_(photo_height),
      history_(kept),
      tool_(kept.box ? Tool::kBrush : Tool::kBox) {}

void CutoutEditor::SetView(ViewRect rect) {
  map_ = ViewMap(rect, photo_width_, photo_height_);
  if (!drag_) return;
  drag_->from_x = static_cast<int>(std::lround(drag_->from.x * map_.Scale())) + rect.left;
  drag_->from_y = static_cast<int>(std::lround(drag_->from.y * map_.Scale())) + rect.top;
}

void CutoutEditor::Press(Button button, int x, int y) {
  if (drag_) return;  // the other button's drag goes on
  pointer_ = Pointer{x, y};
  Drag d{button, button == Button::kLeft && tool_ == Tool::kBox, map_.ToPhoto(x, y), x, y, x, y,
         {}};
  if (!d.box) {
    d.stroke.radius = static_cast<float>(brush_) / map_.Scale();
    d.stroke.kind = button == Button::kLeft ? cutout::Mark::kHair : cutout::Mark::kNotHair;
    d.stroke.points.push_back(d.from);
  }
  drag_ = std::move(d);
}

void CutoutEditor::Move(int x, int y) {
  pointer_ = Pointer{x, y};
  if (!drag_) return;
  if (!drag_->box && (x != drag_->to_x || y != drag_->to_y))
    drag_->stroke.points.push_back(map_.ToPhoto(x, y));
  drag_->to_x = x, drag_->to_y = y;
}

bool CutoutEditor::Release(int x, int y) {
  if (!drag_) return false;
  Move(x, y);
  Drag d = std::move(*drag_);
  drag_.reset();
  if (!d.box) {
    history_.AddStroke(std::move(d.stroke));
    return true;
  }
  if (std::abs(d.to_x - d.from_x) < kMinBoxSide || std::abs(d.to_y - d.from_y) < kMinBoxSide)
    return false;
  const cutout::Box box = BoxOf(d);
  if (box.x1 <= box.x0 || box.y1 <= box.y0) return false;  // dragged wholly beside the photo
  history_.AddBox(box);
  tool_ = Tool::kBrush;
  return true;
}

void CutoutEditor::CancelDrag() {
  drag_.reset();
}

cutout::Box CutoutEditor::BoxOf(const Drag& d) const {
  const cutout::Point to = map_.ToPhoto(d.to_x, d.to_y);
  const auto clamp = [](float v, int hi) {
    return static_cast<int>(std::clamp(v, 0.f, static_cast<float>(hi)));
  };
  // Every photo pixel the dragged rectangle touches.
  return {clamp(std::floor(std::min(d.from.x, to.x)), photo_width_),
          clamp(std::floor(std::min(d.from.y, to.y)), photo_height_),
          clamp(std::ceil(std::max(d.from.x, to.x)), photo_width_),
          clamp(std::ceil(std::max(d.from.y, to.y)), photo_height_)};
}

void CutoutEditor::ResizeBrush(int steps) {
  double r = brush_;
  for (int i = 0; i < std::min(std::abs(steps), 40); ++i)
    r = steps > 0 ? std::max(r * 1.25, r + 1) : std::min(r / 1.25, r - 1);
  brush_ = std::clamp(static_cast<int>(std::lround(r)), kMinBrush, kMaxBrush);
}

void CutoutEditor::StartNewBox() {
  if (!drag_) tool_ = Tool::kBox;
}

bool CutoutEditor::Undo() {
  if (drag_ || !history_.Undo()) return false;
  if (!history_.Sketch().box) tool_ = Tool::kBox;
  return true;
}

bool CutoutEditor::Redo() {
  if (drag_ || !history_.Redo()) return false;
  if (history_.Sketch().box) tool_ = Tool::kBrush;
  return true;
}

std::optional<ViewRect> CutoutEditor::DraggedBox() const {
  if (!drag_ || !drag_->box) return std::nullopt;
  const int x0 = std::min(drag_->from_x, drag_->to_x), y0 = std::min(drag_->from_y, drag_->to_y);
  return ViewRect{x0, y0, std::abs(drag_->to_x - drag_->from_x) + 1,
                  std::abs(drag_->to_y - drag_->from_y) + 1};
}

const cutout::Stroke* CutoutEditor::StrokeUnderWay() const {
  return drag_ && !drag_->box ? &drag_->stroke : nullptr;
}

std::optional<CutoutEditor::Circle> CutoutEditor::BrushCircle() const {
  const bool brushing = drag_ ? !drag_->box : tool_ == Tool::kBrush;
  if (!pointer_ || !brushing || !map_.Rect().Contains(pointer_->x, pointer_->y))
    return std::nullopt;
  return Circle{pointer_->x, pointer_->y, brush_};
}

std::string CutoutEditor::NextStep(const std::string& done_hint) const {
  const cutout::Sketch& s = history_.Sketch();
  if (tool_ == Tool::kBox)
    return s.box ? "按住左键拖出新的框；框外的部分都不算头发。"
                 : "第一步：在照片上按住左键拖出一个框，把头发全部框在里面。";
  const auto has = [&](cutout::Mark kind) {
    return std::any_of(s.strokes.begin(), s.strokes.end(),
                       [kind](const cutout::Stroke& st) { return st.kind == kind; });
  };
  if (!has(cutout::Mark::kHair))
    return "第二步：按住左键在头发上涂一笔（红色），再按住右键在框里不是头发的地方（脸、衣服、背景"
           "）"
           "涂一笔（蓝色）。";
  if (!has(cutout::Mark::kNotHair))
    return "再按住右键在框里不是头发的地方（脸、衣服、背景）涂一笔（蓝色），结果会更准。";
  return "哪里不对就在那里补一笔：漏掉的头发用左键涂，多出来的用右键涂。" + done_hint;
}

}  // namespace coiffure
