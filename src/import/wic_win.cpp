#include "import/wic_win.h"

#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <utility>

#include "toolkit/text_win.h"

namespace coiffure {

namespace {

// Releases a COM interface at the end of its scope.
template <typename I>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  I** Out() { return &p_; }
  I* operator->() const { return p_; }
  I* Get() const { return p_; }

 private:
  I* p_ = nullptr;
};

void Check(HRESULT hr, const char* message) {
  if (FAILED(hr)) throw ImportError(message);
}

// A missing or locked file is told apart from one that is no picture at all.
const char* OpenFailureMessage(HRESULT hr) {
  switch (hr) {
    case HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND):
    case HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND):
    case HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED):
    case HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION):
    case HRESULT_FROM_WIN32(ERROR_INVALID_NAME):
      return kMsgCannotOpenPicture;
    default:
      return kMsgNotAPicture;
  }
}

}  // namespace

ScopedCom::ScopedCom()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ScopedCom::~ScopedCom() {
  if (initialised_) CoUninitialize();
}

RgbaImage WicPictureSource::Decode(const std::string& path) {
  const std::wstring wide = Widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw ImportError(kMsgCannotOpenPicture);
  ComRef<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())),
        kMsgNoImagingComponent);
  ComRef<IWICBitmapDecoder> decoder;
  const HRESULT opened = factory->CreateDecoderFromFilename(
      wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.Out());
  if (FAILED(opened)) throw ImportError(OpenFailureMessage(opened));
  ComRef<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, frame.Out()), kMsgNotAPicture);
  UINT w = 0, h = 0;
  Check(frame->GetSize(&w, &h), kMsgNotAPicture);
  if (w == 0 || h == 0) throw ImportError(kMsgNotAPicture);
  // Checked before anything is allocated: a hostile header can claim any size.
  if (w > static_cast<UINT>(kMaxSide) || h > static_cast<UINT>(kMaxSide) ||
      int64_t{w} * h > kMaxPixels)
    throw ImportError(kMsgPictureTooLarge);
  ComRef<IWICBitmapSource> bgra;
  Check(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), bgra.Out()),
        kMsgNotAPicture);
  RgbaImage image = RgbaImage::Create(static_cast<int>(w), static_cast<int>(h));
  Check(bgra->CopyPixels(nullptr, w * 4, static_cast<UINT>(image.bgra.size()), image.bgra.data()),
        kMsgNotAPicture);
  return image;
}

}  // namespace coiffure
