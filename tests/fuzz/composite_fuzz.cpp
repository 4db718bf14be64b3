// libFuzzer target: the compositing operations with pictures decoded from the input, rectangles
// anywhere in the 32-bit plane and frames up to 600 x 500. Nothing may read or write outside
// the pictures or the frame, and the frame keeps its size.
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>
#include <vector>

#include "imaging/picture.h"
#include "workspace/composite.h"

using namespace coiffure;

namespace {

void Require(bool ok) {
  if (!ok) std::abort();
}

int32_t Coordinate(FuzzedDataProvider& in) {
  static constexpr int32_t kEdges[] = {std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::min() + 1,
                                       -65536,
                                       -601,
                                       -1,
                                       0,
                                       1,
                                       299,
                                       600,
                                       65536,
                                       std::numeric_limits<int32_t>::max() - 1,
                                       std::numeric_limits<int32_t>::max()};
  if (in.ConsumeBool()) return in.PickValueInArray(kEdges);
  return in.ConsumeIntegral<int32_t>();
}

Rect AnyRect(FuzzedDataProvider& in) {
  return {Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in)};
}

// A small picture: empty, a solid 24-bit one, or whatever a slice of the input decodes to.
Picture AnyPicture(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
      return {};
    case 1: {
      const int w = in.ConsumeIntegralInRange(0, 300), h = in.ConsumeIntegralInRange(0, 300);
      return Picture::Create24(w, h, {in.ConsumeIntegral<uint8_t>(), 0x80, 0x7F});
    }
    default: {
      const size_t len = in.ConsumeIntegralInRange<size_t>(0, in.remaining_bytes());
      const std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(len);
      Picture p;
      try {
        p.LoadFromBytes(bytes);
      } catch (const PictureError&) {
        return {};
      }
      if (int64_t{p.Width()} * p.Height() > (int64_t{1} << 16)) return {};
      return p;
    }
  }
}

void CheckConvertKeepsColours(Picture& p) {
  Picture before = p;
  p.ConvertTo24();
  Require(p.Width() == before.Width() && p.Height() == before.Height());
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); x += 13) Require(p.PixelBgr(x, y) == before.PixelBgr(x, y));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  Frame frame;
  frame.Resize(in.ConsumeIntegralInRange(0, 600), in.ConsumeIntegralInRange(0, 500));
  const size_t frame_bytes = frame.bgr.size();
  Workspace ws;
  ws.Reset();
  ws.Photo = AnyPicture(in);
  ws.HairMask = AnyPicture(in);
  ws.HairImage = AnyPicture(in);
  Picture* pictures[3] = {&ws.Photo, &ws.HairMask, &ws.HairImage};
  for (int step = 0; step < 12 && in.remaining_bytes() > 0; ++step) {
    Picture& pic = *pictures[in.ConsumeIntegralInRange(0, 2)];
    switch (in.ConsumeIntegralInRange(0, 4)) {
      case 0: {
        const Rect r = AnyRect(in);
        StretchPicture(frame, pic, r, static_cast<RasterOp>(in.ConsumeIntegralInRange(0, 2)));
        break;
      }
      case 1: {
        const int32_t x = Coordinate(in), y = Coordinate(in);
        BlitPicture(frame, pic, x, y);
        break;
      }
      case 2: {
        ws.SetHairRect(AnyRect(in));
        ws.HairSelected = in.ConsumeBool();
        const std::string status = ComposeWorkspace(ws, frame);
        Require(status == PositionText(ws.HairRect()));
        break;
      }
      case 3:
        CheckConvertKeepsColours(pic);
        break;
      default: {
        const int32_t x = Coordinate(in), y = Coordinate(in);
        DrawHandleSquare(frame, x, y);
      }
    }
    Require(frame.bgr.size() == frame_bytes);
  }
  return 0;
}
