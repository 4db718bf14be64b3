#include "pictures/wic_win.h"

#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "imaging/picture.h"
#include "pictures/picture_header.h"
#include "pictures/upright.h"
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

// Closes a file handle at the end of its scope.
struct ScopedFile {
  HANDLE h;
  ~ScopedFile() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

void ReadExactly(HANDLE file, uint8_t* into, size_t n) {
  for (size_t done = 0; done < n;) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 24));
    if (!ReadFile(file, into + done, chunk, &got, nullptr) || got == 0)
      throw ImportError(kMsgCannotOpenPicture);
    done += got;
  }
}

// The whole file, read once: its header is checked and its pixels decoded from these bytes, so
// the two cannot differ.
std::vector<uint8_t> ReadPictureFile(const std::string& path) {
  const std::wstring wide = Widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw ImportError(kMsgCannotOpenPicture);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw ImportError(kMsgFolderWithoutPictures);
  const ScopedFile file{CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  LARGE_INTEGER size{};
  if (file.h == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.h, &size))
    throw ImportError(kMsgCannotOpenPicture);
  if (size.QuadPart > kMaxFileBytes) throw ImportError(kMsgPictureTooLarge);
  // A header is nearly always in the first megabyte: a huge picture is refused there and the rest
  // never read. (A header further on is checked once the whole file is in, still before decoding.)
  const size_t total = static_cast<size_t>(size.QuadPart),
               first = std::min<size_t>(total, 1u << 20);
  std::vector<uint8_t> bytes(first);
  ReadExactly(file.h, bytes.data(), first);
  RefuseHugeHeader(bytes);
  bytes.resize(total);
  ReadExactly(file.h, bytes.data() + first, total - first);
  return bytes;
}

// The platform's decoders, reading from memory.
class WicPixelDecoder : public PixelDecoder {
 public:
  DecodedPixels DecodePixels(std::span<const uint8_t> file) override;
};

// GUID_ContainerFormatHeif, spelt out: older import libraries lack it.
constexpr GUID kHeifContainer = {
    0xe1e62521, 0x6787, 0x405b, {0xa3, 0x39, 0x50, 0x07, 0x15, 0xb5, 0x76, 0x3f}};

// The orientation the HEIF decoder reports for the frame (its container's rotation and mirror,
// in EXIF's numbers; 1 where it has turned the pixels itself); 0 when it reports none.
int HeifOrientation(IWICBitmapFrameDecode* frame) {
  ComRef<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(reader.Out()))) return 0;
  for (const wchar_t* name : {L"/heifProps/Orientation", L"System.Photo.Orientation"}) {
    PROPVARIANT value;
    PropVariantInit(&value);
    int orientation = 0;
    if (SUCCEEDED(reader->GetMetadataByName(name, &value)) && value.vt == VT_UI2 &&
        value.uiVal >= 1 && value.uiVal <= 8)
      orientation = value.uiVal;
    PropVariantClear(&value);
    if (orientation) return orientation;
  }
  return 0;
}

DecodedPixels WicPixelDecoder::DecodePixels(std::span<const uint8_t> file) {
  if (file.empty() || file.size() > MAXDWORD) throw ImportError(kMsgNotAPicture);
  ComRef<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())),
        kMsgNoImagingComponent);
  ComRef<IWICStream> stream;
  Check(factory->CreateStream(stream.Out()), kMsgNoImagingComponent);
  Check(
      stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), static_cast<DWORD>(file.size())),
      kMsgNotAPicture);
  ComRef<IWICBitmapDecoder> decoder;
  Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                         decoder.Out()),
        kMsgNotAPicture);
  ComRef<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, frame.Out()), kMsgNotAPicture);
  UINT w = 0, h = 0;
  Check(frame->GetSize(&w, &h), kMsgNotAPicture);
  if (w == 0 || h == 0) throw ImportError(kMsgNotAPicture);
  // Checked again before anything is allocated: a format whose header we do not read can
  // claim any size.
  if (ExceedsPictureLimits(w, h)) throw ImportError(kMsgPictureTooLarge);
  ComRef<IWICBitmapSource> bgra;
  Check(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), bgra.Out()),
        kMsgNotAPicture);
  DecodedPixels decoded{RgbaImage::Create(static_cast<int>(w), static_cast<int>(h))};
  std::vector<uint8_t>& pixels = decoded.image.bgra;
  Check(bgra->CopyPixels(nullptr, w * 4, static_cast<UINT>(pixels.size()), pixels.data()),
        kMsgNotAPicture);
  GUID container{};
  if (SUCCEEDED(decoder->GetContainerFormat(&container)) && container == kHeifContainer)
    decoded.orientation = HeifOrientation(frame.Get());
  return decoded;
}

}  // namespace

ScopedCom::ScopedCom()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ScopedCom::~ScopedCom() {
  if (initialised_) CoUninitialize();
}

RgbaImage WicPictureSource::Decode(const std::string& path) {
  WicPixelDecoder decoder;
  return DecodeUpright(ReadPictureFile(path), decoder);
}

TurnedPicture WicPictureSource::DecodeTurned(const std::string& path) {
  WicPixelDecoder decoder;
  return coiffure::DecodeTurned(ReadPictureFile(path), decoder);
}

}  // namespace coiffure
