// The cut-out window: a photo fitted on the left, where the operator boxes the hair and paints
// hair and what is not hair; on the right the looks (the marks, and the purpose's own), a new
// box, undo and redo, the brush, and the purpose's controls. The photo is read and prepared,
// and the matte worked out after each change of the marks, on a worker thread of the window's
// own: a newer change cancels the update under way and its result is dropped.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desk/cutout/cutout_canvas_win.h"
#include "desk/cutout/cutout_editor.h"
#include "desk/cutout/cutout_purpose_win.h"
#include "desk/cutout/cutout_work.h"
#include "pictures/picture_source.h"
#include "toolkit/window_win.h"
#include "work/background_worker_win.h"
#include "work/work_queue.h"

namespace coiffure {

class CutoutWindow : public BaseWindow<CutoutWindow>, CutoutCanvas::Port, public CutoutHost {
 public:
  static constexpr int kNewBoxId = 2001, kUndoId = 2002, kRedoId = 2003;
  static constexpr int kSmallerId = 2004, kLargerId = 2005, kFirstLookId = 2010;

  // The photo is read through the source on the window's worker; kept holds the marks of the
  // photo worked on last, used when it is this one and replaced when the window closes.
  CutoutWindow(PictureSource& source, std::string photo_path, KeptMarks& kept,
               std::unique_ptr<CutoutPurpose> purpose);
  ~CutoutWindow() override;
  // Creates the window, hidden, owned by owner, and begins reading the photo.
  HWND Create(HWND owner, HFONT font);
  // True once it was closed.
  bool Done() const { return done_; }
  // The window's keys wherever the focus is in it ([ ], Ctrl+Z, Ctrl+Y, the wheel), then the
  // dialog keys; true when the message was taken.
  bool PreTranslate(MSG& msg);

  // For the window's tests: the state it shows.
  bool Ready() const { return prepared_.has_value(); }
  bool Working() const { return !work_.Idle(); }
  bool MatteShown() const override { return matte_ && matte_revision_ == Revision(); }
  const CutoutEditor* Editor() const { return editor_ ? &*editor_ : nullptr; }
  HWND Canvas() const { return canvas_.Handle(); }
  HWND StatusLine() const { return status_; }
  HWND LookButton(size_t i) const { return i < looks_.size() ? looks_[i] : nullptr; }
  const Frame& Shown() const { return frame_; }
  void ChooseLook(size_t look) override;

  // CutoutHost
  const std::string& PhotoPath() const override { return photo_path_; }
  std::shared_ptr<const cutout::Session> Session() const override;
  const cutout::Sketch& Sketch() const override;
  void Recompose() override;
  void Finish() override;

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  // CutoutCanvas::Port
  void Pressed(CutoutEditor::Button button, int x, int y) override;
  void Moved(int x, int y) override;
  void Released(int x, int y) override;
  void Left() override;
  void CaptureLost() override;
  void Resized(int width, int height) override;

  void FormCreate();
  void CreatePanel();
  void FormResize(int width, int height);
  int PanelHeight() const;
  void OnCommand(int id);
  void Close();

  void LoadPhoto();
  void PhotoArrived(std::optional<PreparedPhoto> prepared, std::string reason);
  void RequestMatte();
  void MatteArrived(uint64_t revision, std::shared_ptr<const WorkedMatte> matte);
  void ApplyWork();
  void MarksChanged();

  bool ShowsPhoto() const;
  uint64_t Revision() const { return editor_ ? editor_->History().Revision() : 0; }
  void FitView();
  void ShowMarksOnView();
  void Compose();
  void ShowState();
  void ResizeBrush(int steps);

  static constexpr UINT kWorkMessage = WM_APP + 30;

  PictureSource& source_;
  std::string photo_path_;
  KeptMarks& kept_;
  std::unique_ptr<CutoutPurpose> purpose_;
  std::vector<CutoutPurpose::Look> look_kinds_;
  HFONT font_ = nullptr;
  int line_height_ = 0;
  HWND hint_ = nullptr, status_ = nullptr, looks_label_ = nullptr;
  std::vector<HWND> looks_;
  HWND new_box_ = nullptr, undo_ = nullptr, redo_ = nullptr, brush_label_ = nullptr;
  HWND smaller_ = nullptr, larger_ = nullptr, close_ = nullptr;
  CutoutCanvas canvas_;
  size_t look_ = 0;  // 0: the marks; i: the purpose's look i - 1

  std::optional<PreparedPhoto> prepared_;
  std::optional<CutoutEditor> editor_;
  std::string failure_;
  // The photo, the marks and the matte at the size the photo is shown, and the frame of them.
  RgbaImage view_photo_;
  cutout::Marks view_marks_;
  std::vector<uint8_t> view_matte_;
  std::shared_ptr<const WorkedMatte> matte_;
  uint64_t matte_revision_ = 0;
  std::optional<ComposedPreview> composed_;  // for the matte shown, once made
  Frame frame_;
  int canvas_width_ = 0, canvas_height_ = 0;

  WorkQueue work_;
  std::unique_ptr<BackgroundWorker> worker_;
  // The revision the newest update is for, and the cancel of the one under way.
  std::shared_ptr<std::atomic<uint64_t>> wanted_ = std::make_shared<std::atomic<uint64_t>>(0);
  std::shared_ptr<std::atomic<bool>> cancel_;
  bool done_ = false;
  HWND last_focus_ = nullptr;
};

}  // namespace coiffure
