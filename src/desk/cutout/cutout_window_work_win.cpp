// The cut-out window's work off its thread and what it shows of it: the photo read and
// prepared, a matte after each change of the marks (the newest wins), the looks composed.
#include <windows.h>

#include "desk/cutout/cutout_window_win.h"
#include "import/convert.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The composed look centred in the picture, its caption under it.
void PlaceComposed(const Frame& composed, Frame& frame, RECT& caption) {
  frame.Fill(kViewBackground);
  const int x0 = std::max(0, (frame.width - composed.width) / 2);
  const int y0 = std::max(0, (frame.height - composed.height - 60) / 2);
  for (int y = 0; y < composed.height && y + y0 < frame.height; ++y)
    std::copy_n(composed.Row(y), 3 * std::min(composed.width, frame.width - x0),
                frame.Row(y + y0) + 3 * x0);
  caption = {x0, y0 + composed.height + 8, x0 + composed.width, frame.height};
}

}  // namespace

void CutoutWindow::LoadPhoto() {
  Job job{"正在读取照片", {NameOf(photo_path_)}, {}, {}, {}};
  job.run = [this, &source = source_, path = photo_path_](size_t) -> StepResult {
    std::optional<PreparedPhoto> prepared;
    std::string reason = ReasonItFailed([&] { prepared = PreparePhoto(source.Decode(path)); });
    return [this, reason, p = std::make_shared<std::optional<PreparedPhoto>>(std::move(prepared))] {
      PhotoArrived(std::move(*p), reason);
    };
  };
  job.stopped = [](size_t) {};
  job.finished = [](bool) {};
  work_.Add(std::move(job));
}

void CutoutWindow::PhotoArrived(std::optional<PreparedPhoto> prepared, std::string reason) {
  if (done_) return;
  if (!prepared) {
    failure_ = reason.empty() ? kMsgNotAPicture : reason;
    Compose();
    ShowState();
    return;
  }
  prepared_ = std::move(prepared);
  const cutout::Session& s = *prepared_->session;
  const bool same = kept_.fingerprint == prepared_->fingerprint;
  editor_.emplace(s.Width(), s.Height(), same ? kept_.sketch : cutout::Sketch{});
  FitView();
  if (editor_->History().HasHairStroke()) RequestMatte();
  Compose();
  ShowState();
}

void CutoutWindow::MarksChanged() {
  ShowMarksOnView();
  RequestMatte();
  Compose();
  ShowState();
}

void CutoutWindow::RequestMatte() {
  const uint64_t revision = Revision();
  wanted_->store(revision);
  if (cancel_) cancel_->store(true);  // the update under way is for older marks
  cancel_.reset();
  if (!editor_->History().HasHairStroke()) {
    matte_.reset();
    composed_.reset();
    view_matte_.clear();
    return;
  }
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  Job job{"正在计算头发的范围", {NameOf(photo_path_)}, {}, {}, {}};
  job.run = [this, photo = *prepared_, sketch = editor_->History().Sketch(), revision,
             wanted = wanted_, cancel = cancel_, purpose = purpose_.get()](size_t) -> StepResult {
    if (wanted->load() != revision) return [] {};  // newer marks came before it began
    std::optional<WorkedMatte> worked = WorkOutMatte(photo, sketch, cancel.get());
    if (!worked) return [] {};
    return [this, revision, m = std::make_shared<const WorkedMatte>(std::move(*worked))] {
      MatteArrived(revision, m);
    };
  };
  job.stopped = [](size_t) {};
  job.finished = [](bool) {};
  work_.Add(std::move(job));
}

// The composed look is made after the matte is shown, and only while it is the look chosen.
void CutoutWindow::MatteArrived(uint64_t revision, std::shared_ptr<const WorkedMatte> matte) {
  if (done_ || revision != Revision()) return;  // the marks changed since: a newer one comes
  matte_ = std::move(matte);
  matte_revision_ = revision;
  composed_.reset();
  if (look_ > 0 && look_kinds_[look_ - 1].composed) Recompose();
  const ViewRect r = editor_->Map().Rect();
  view_matte_ = ResizePlane(matte_->shown, prepared_->shown->width, prepared_->shown->height,
                            r.width, r.height);
  Compose();
  ShowState();
}

void CutoutWindow::Recompose() {
  if (!MatteShown()) return;
  Job job{"正在生成预览", {NameOf(photo_path_)}, {}, {}, {}};
  job.run = [this, photo = *prepared_, matte = matte_, revision = matte_revision_,
             purpose = purpose_.get()](size_t) -> StepResult {
    auto c = std::make_shared<std::optional<ComposedPreview>>(
        purpose->ComposeAside(*photo.shown, matte->shown));
    return [this, revision, c] {
      if (done_ || revision != matte_revision_ || revision != Revision()) return;
      composed_ = std::move(*c);
      Compose();
    };
  };
  job.stopped = [](size_t) {};
  job.finished = [](bool) {};
  work_.Add(std::move(job));
}

void CutoutWindow::ApplyWork() {
  ApplyReadyWork(work_, hwnd_, kWorkMessage);
  ShowState();
}

// The photo, the marks and the matte brought to the size the photo is shown at.
void CutoutWindow::FitView() {
  if (!editor_ || canvas_width_ <= 0 || canvas_height_ <= 0) return;
  const RgbaImage& shown = *prepared_->shown;
  const ViewRect r = FitPhoto(shown.width, shown.height, canvas_width_, canvas_height_);
  if (r == editor_->Map().Rect() && view_photo_.width == r.width) return;
  editor_->SetView(r);
  view_photo_ = Resample(shown, {r.width, r.height});
  view_matte_ = matte_ ? ResizePlane(matte_->shown, shown.width, shown.height, r.width, r.height)
                       : std::vector<uint8_t>{};
  ShowMarksOnView();
}

void CutoutWindow::ShowMarksOnView() {
  if (!editor_) return;
  const ViewMap& map = editor_->Map();
  cutout::Sketch shown = SketchOnView(editor_->History().Sketch(), map);
  if (const cutout::Stroke* s = editor_->StrokeUnderWay())
    shown.strokes.push_back(SketchOnView({std::nullopt, {*s}}, map).strokes[0]);
  view_marks_ = cutout::MarksOf(shown, map.Rect().width, map.Rect().height);
}

void CutoutWindow::Compose() {
  frame_.Resize(std::max(canvas_width_, 1), std::max(canvas_height_, 1));
  frame_.Fill(kViewBackground);
  RECT text{0, 0, 0, 0};
  std::string caption;
  if (!editor_) {
    text = {20, canvas_height_ / 2 - 30, canvas_width_ - 20, canvas_height_};
    caption = failure_.empty() ? "正在读取照片 " + NameOf(photo_path_) + " …"
                               : "无法打开这张照片：" + failure_;
  } else if (look_ > 0 && look_kinds_[look_ - 1].composed) {
    if (composed_) {
      PlaceComposed(composed_->frame, frame_, text);
      caption = composed_->caption;
    } else {
      text = {20, canvas_height_ / 2 - 30, canvas_width_ - 20, canvas_height_};
      caption = MatteShown() ? "正在生成预览…"
                             : "在头发上涂一笔后，这里显示剪出的发型叠在顾客照片上的样子。";
    }
  } else {
    const ViewRect r = editor_->Map().Rect();
    const ViewLayers layers{&view_photo_, &view_marks_, matte_ ? &view_matte_ : nullptr};
    if (look_ == 0) {
      ComposeMarksLook(layers, r, frame_);
      if (const auto& box = editor_->History().Sketch().box;
          box && editor_->CurrentTool() != CutoutEditor::Tool::kBox) {
        const cutout::Box b = *SketchOnView({box, {}}, editor_->Map()).box;
        DrawBoxOutline(frame_, {r.left + b.x0, r.top + b.y0, b.x1 - b.x0, b.y1 - b.y0});
      }
      if (const std::optional<ViewRect> dragged = editor_->DraggedBox())
        DrawBoxOutline(frame_, *dragged);
    } else {
      ComposeChequerLook(layers, r, frame_);
    }
  }
  canvas_.SetText(caption, text);
  canvas_.Show(&frame_);
}

// The status line, the buttons that can be used now, the brush's size.
void CutoutWindow::ShowState() {
  if (!status_) return;
  std::string status;
  if (!failure_.empty())
    status = "无法打开这张照片：" + failure_ + "。请关闭这个窗口，换一张照片再试。";
  else if (!editor_)
    status = "正在读取并分析照片，请稍候（大照片需要一两秒）；可以随时单击“关闭”。";
  else if (!work_.Idle() && !MatteShown() && editor_->History().HasHairStroke())
    status = "正在计算头发的范围… " + editor_->NextStep(purpose_->DoneHint());
  else
    status = editor_->NextStep(purpose_->DoneHint());
  SetWindowTextW(status_, Widen(status).c_str());
  const bool ready = editor_.has_value();
  EnableWindow(new_box_, ready);
  EnableWindow(undo_, ready && editor_->History().CanUndo());
  EnableWindow(redo_, ready && editor_->History().CanRedo());
  const int brush = ready ? editor_->BrushRadius() : CutoutEditor::kStartBrush;
  SetWindowTextW(brush_label_, Widen("画笔大小：" + std::to_string(2 * brush) + " 像素").c_str());
  purpose_->MatteReady(MatteShown());
}

}  // namespace coiffure
