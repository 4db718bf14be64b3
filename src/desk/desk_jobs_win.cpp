// The desk window's work, handed to its worker: each job's steps run off the window's thread and
// touch only the folders and the picture source; their rows are added on the window's thread.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <memory>

#include "colour/own_shade.h"
#include "colour/variants.h"
#include "desk/cutout/cutout_files.h"
#include "desk/desk_window_win.h"
#include "imaging/picture.h"
#include "import/customer_photo.h"
#include "toolkit/text_win.h"

namespace coiffure {

namespace {

void SetText(HWND control, const std::string& text) {
  const std::wstring wide = Widen(text);
  std::wstring now(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  now.resize(static_cast<size_t>(GetWindowTextW(control, now.data(), int(now.size()))));
  if (now != wide) SetWindowTextW(control, wide.c_str());
}

std::vector<std::string> Names(const std::vector<std::string>& paths) {
  std::vector<std::string> names;
  for (const std::string& p : paths) names.push_back(FileNameOf(p));
  return names;
}

}  // namespace

void DeskWindow::ImportFiles(const std::vector<std::string>& files) {
  if (files.empty()) return;
  auto counts = std::make_shared<JobCounts>();
  Job job{"正在导入", Names(files), {}, {}, {}};
  job.run = [this, files, counts, &source = source_, &library = folders_.library,
             folder = folders_.library_path](size_t i) {
    return ResultOf(StyleRow(ImportPicture(files[i], source, library), folder), counts);
  };
  job.stopped = [this, files, counts](size_t i) {
    ++counts->stopped;
    AddResult(StyleRow({files[i], false, "", kMsgStopped}, folders_.library_path));
  };
  job.finished = [this, counts](bool) { JobOver(JobSummary(DeskRow::Kind::kStyle, *counts)); };
  work_.Add(std::move(job));
  Refresh();
}

void DeskWindow::ImportCutout(const std::string& photo,
                              std::shared_ptr<const cutout::Session> session,
                              const cutout::Sketch& sketch) {
  auto counts = std::make_shared<JobCounts>();
  Job job{"正在导入", {FileNameOf(photo)}, {}, {}, {}};
  job.run = [this, photo, session, sketch, counts, &library = folders_.library,
             folder = folders_.library_path](size_t) {
    const cutout::Marks marks = cutout::MarksOf(sketch, session->Width(), session->Height());
    return ResultOf(StyleRow(ImportCutOut(photo, *session, marks, library), folder), counts);
  };
  job.stopped = [this, photo, counts](size_t) {
    ++counts->stopped;
    AddResult(StyleRow({photo, false, "", kMsgStopped}, folders_.library_path));
  };
  job.finished = [this, counts](bool) { JobOver(JobSummary(DeskRow::Kind::kStyle, *counts)); };
  work_.Add(std::move(job));
  Refresh();
}

PhotoFolder DeskWindow::PhotoPlace() const {
  const std::string& test_bmp = folders_.photo_path;
  const std::string folder = test_bmp.substr(0, test_bmp.size() - std::strlen(kPhotoFileName));
  return {folders_.photos,
          [folder](const std::string& name) { return ReadWholeFile(folder + name); }};
}

DeskRow DeskWindow::OwnShadeRow(bool done, const std::string& text) const {
  DeskRow row{kPhotoFileName, text, done, {}, folders_.photo_path, DeskRow::Kind::kPhoto};
  if (done) {
    row.preview.kind = PreviewSubject::Kind::kPhoto;
    row.preview.photo = folders_.photo_path;
  }
  return row;
}

void DeskWindow::UseOwnShade(std::shared_ptr<const OwnHairStart> start,
                             std::shared_ptr<const cutout::Session> session,
                             const cutout::Sketch& sketch, const Shade& shade) {
  auto counts = std::make_shared<JobCounts>();
  Job job{"正在换发色", {shade.name}, {}, {}, {}};
  job.run = [this, start, session, sketch, shade, counts](size_t) {
    std::string note;
    const std::string reason = ReasonItFailed([&] {
      // The window read the photo again from its file: it must still be the one started from.
      if (session->Width() != start->photo.Width() || session->Height() != start->photo.Height())
        throw ImportError(kMsgPhotoChangedMeanwhile);
      const std::optional<cutout::Matte> matte =
          session->Update(cutout::MarksOf(sketch, session->Width(), session->Height()));
      if (!matte) throw ImportError(kMsgPhotoChangedMeanwhile);
      Picture recoloured;
      const ShadeReach reach = OwnHair(start->photo, matte->alpha).Recolour(shade.mean, recoloured);
      if (!reach.exact) note = UnreachedNote(reach);
      PhotoFolder photos = PhotoPlace();
      UseAsCustomerPhoto(photos, *start, recoloured, sketch);
    });
    const bool done = reason.empty();
    return ResultOf(OwnShadeRow(done, OwnShadeText(done, done ? shade.name : reason, note)),
                    counts);
  };
  job.stopped = [this, counts](size_t) {
    ++counts->stopped;
    AddResult(OwnShadeRow(false, OwnShadeText(false, kMsgStopped, "")));
  };
  job.finished = [this, counts](bool) { JobOver(JobSummary(DeskRow::Kind::kPhoto, *counts)); };
  work_.Add(std::move(job));
  Refresh();
}

void DeskWindow::RestoreKeptPhoto() {
  auto counts = std::make_shared<JobCounts>();
  Job job{"正在恢复原照片", {kKeptPhotoName}, {}, {}, {}};
  job.run = [this, counts](size_t) {
    PhotoFolder photos = PhotoPlace();
    const OwnShadeOutcome outcome = UndoOwnShade(photos);
    return ResultOf(OwnShadeRow(outcome.done, outcome.text), counts);
  };
  job.stopped = [this, counts](size_t) {
    ++counts->stopped;
    AddResult(OwnShadeRow(false, std::string("未恢复原照片：") + kMsgStopped));
  };
  job.finished = [this, counts](bool) { JobOver(JobSummary(DeskRow::Kind::kPhoto, *counts)); };
  work_.Add(std::move(job));
  Refresh();
}

void DeskWindow::ReplacePhoto(const std::vector<std::string>& files) {
  if (files.empty()) return;
  auto counts = std::make_shared<JobCounts>();
  // The photo's row, then a row for each other file, which is not used.
  const auto add_rows = [this, files, counts](const PhotoResult& result) {
    if (result.replaced)
      ++counts->done;
    else
      ++(result.message == kMsgStopped ? counts->stopped : counts->refused);
    AddResult(PhotoRow(result, folders_.photo_path));
    if (result.replaced) drop_.SetNotice(PhotoNextStep(FileNameOf(result.path)));
    Relayout();  // the box's notice may have grown
    for (size_t i = 1; i < files.size(); ++i) list_.Add(UnusedPhotoRow(files[i]));
  };
  Job job{"正在换顾客照片", {FileNameOf(files[0])}, {}, {}, {}};
  job.run = [add_rows, file = files[0], &source = source_,
             &photos = folders_.photos](size_t) -> StepResult {
    return [add_rows, result = ReplaceCustomerPhoto(file, source, photos)] { add_rows(result); };
  };  // one preview of a photo is quick: the window composes it
  job.stopped = [add_rows, file = files[0]](size_t) { add_rows({file, false, {}, kMsgStopped}); };
  job.finished = [this, counts](bool) { JobOver(JobSummary(DeskRow::Kind::kPhoto, *counts)); };
  work_.Add(std::move(job));
  Refresh();
}

void DeskWindow::MakeVariants(const std::vector<VariantChoice>& variants) {
  if (variants.empty()) return;
  auto counts = std::make_shared<JobCounts>();
  Job job{"正在生成新发型", {}, {}, {}, {}};
  for (const VariantChoice& v : variants) job.steps.push_back(v.style + " " + v.shade.name);
  const std::string& folder = folders_.library_path;
  job.run = [this, variants, counts, folder, &source = source_,
             &library = folders_.library](size_t i) -> StepResult {
    const VariantChoice& v = variants[i];
    const auto read = [&](const std::string& name) { return ReadWholeFile(folder + name); };
    const ShadeOutcome out =
        MakeShadeVariants(v.style, v.style, {ShadeArgument(v.shade)}, source, library, read);
    return ResultOf(VariantRow(out.variants.at(0), v.shade.name, folder), counts);
  };
  job.stopped = [this, variants, counts, folder](size_t i) {
    ++counts->stopped;
    AddResult(
        VariantRow({variants[i].style, false, "", kMsgStopped}, variants[i].shade.name, folder));
  };
  job.finished = [this, counts](bool) {
    SetWindowTextW(
        shade_notice_,
        Widen(VariantsMadeNotice(counts->done, counts->refused + counts->stopped)).c_str());
    Relayout();
    JobOver(JobSummary(DeskRow::Kind::kVariant, *counts));
  };
  work_.Add(std::move(job));
  Refresh();
}

StepResult DeskWindow::ResultOf(DeskRow row, std::shared_ptr<JobCounts> counts) {
  std::optional<ComposedPreview> preview;
  if (following_) preview = preview_.ComposeAside(row.preview);
  return [this, counts, row = std::move(row), preview = std::move(preview)]() mutable {
    ++(row.ok ? counts->done : counts->refused);
    AddResult(std::move(row), std::move(preview));
  };
}

// The selection follows the newest row unless another row was chosen meanwhile; it is shown at
// the window's next refresh.
void DeskWindow::AddResult(DeskRow row, std::optional<ComposedPreview> preview) {
  list_.Add(std::move(row));
  if (!following_ && list_.Selected() >= 0) return;
  followed_row_ = static_cast<int>(Rows().size()) - 1;
  ready_preview_ = std::move(preview);
  ready_row_ = followed_row_;
}

void DeskWindow::ApplyWork() {
  ApplyReadyWork(work_, hwnd_, kWorkMessage);
  if (work_.Idle()) Refresh();
  if (closing_ && work_.Idle()) DestroyWindow(hwnd_);
}

// What the work brought, shown a few times a second while it runs (the line four times, the
// list and its preview twice): the platform's drawing of them costs far more than the results
// themselves, and its list's scrolling most of all.
void DeskWindow::Refresh() {
  const bool idle = work_.Idle();
  if (idle)
    KillTimer(hwnd_, kRefreshTimer);
  else
    SetTimer(hwnd_, kRefreshTimer, kRefreshMs, nullptr);
  ShowProgress();
  if (!idle && ++refreshes_ % 2 != 0) return;
  list_.Show();
  if (followed_row_ >= 0 && list_.Selected() != followed_row_ &&
      (following_ || list_.Selected() < 0))
    list_.Select(followed_row_);
}

void DeskWindow::JobOver(std::string summary) {
  summary_ = std::move(summary);
}

// The line under the list: the step under way and its place in the job, or how the last job
// ended; "停止" only while there is something to stop.
void DeskWindow::ShowProgress() {
  const std::optional<Progress> now = work_.Current();
  SetText(status_, now ? ProgressText(*now) : summary_);
  ShowWindow(progress_, now ? SW_SHOWNA : SW_HIDE);
  if (now) {
    SendMessageW(progress_, PBM_SETRANGE32, 0, static_cast<LPARAM>(now->steps));
    SendMessageW(progress_, PBM_SETPOS, now->step - 1, 0);
  }
  const bool can_stop = now && !now->stopping;
  if (!can_stop && GetFocus() == stop_button_) SetFocus(list_.Handle());
  EnableWindow(stop_button_, can_stop);
}

}  // namespace coiffure
