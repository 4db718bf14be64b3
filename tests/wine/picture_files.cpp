#include "wine/picture_files.h"

#include <wincodec.h>

#include <gtest/gtest.h>

#include "native/exif_builder.h"
#include "pictures/wic_win.h"
#include "toolkit/text_win.h"
#include "wine/wine_helpers.h"

namespace coiffure::testing {

void WriteWithWic(const std::string& path, const GUID& container, const RgbaImage& img) {
  ScopedCom com;
  IWICImagingFactory* factory = nullptr;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IWICImagingFactory,
                                            reinterpret_cast<void**>(&factory)));
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  ASSERT_HRESULT_SUCCEEDED(factory->CreateStream(&stream));
  ASSERT_HRESULT_SUCCEEDED(stream->InitializeFromFilename(Widen(path).c_str(), GENERIC_WRITE));
  ASSERT_HRESULT_SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder));
  ASSERT_HRESULT_SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache));
  ASSERT_HRESULT_SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr));
  ASSERT_HRESULT_SUCCEEDED(frame->Initialize(nullptr));
  ASSERT_HRESULT_SUCCEEDED(frame->SetSize(img.width, img.height));
  const bool alpha = container == GUID_ContainerFormatPng;
  WICPixelFormatGUID format = alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
  ASSERT_HRESULT_SUCCEEDED(frame->SetPixelFormat(&format));
  std::vector<uint8_t> bytes = img.bgra;
  UINT stride = static_cast<UINT>(img.width) * 4;
  if (!alpha) {  // pack to BGR
    stride = static_cast<UINT>(img.width) * 3;
    for (size_t i = 0, o = 0; i < img.bgra.size(); i += 4, o += 3)
      std::copy_n(&img.bgra[i], 3, &bytes[o]);
  }
  ASSERT_HRESULT_SUCCEEDED(
      frame->WritePixels(img.height, stride, stride * img.height, bytes.data()));
  ASSERT_HRESULT_SUCCEEDED(frame->Commit());
  ASSERT_HRESULT_SUCCEEDED(encoder->Commit());
  frame->Release();
  encoder->Release();
  stream->Release();
  factory->Release();
}

namespace {

std::vector<uint8_t> Bytes(const std::string& path) {
  const std::string s = ReadBytes(path);
  return {s.begin(), s.end()};
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

uint32_t Get(const std::vector<uint8_t>& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + size_t(i)];
  return v;
}

}  // namespace

void AddJpegOrientation(const std::string& path, uint16_t orientation) {
  std::vector<uint8_t> jpeg = Bytes(path);
  const auto app1 =
      exiftest::Segment(0xE1, exiftest::ExifPayload(exiftest::OrientationTiff(false, orientation)));
  jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
  Write(path, jpeg);
}

void AddTiffOrientation(const std::string& path, uint16_t orientation) {
  std::vector<uint8_t> tiff = Bytes(path);
  ASSERT_EQ(tiff[0], 'I');  // the platform's encoder writes little-endian files
  const uint32_t ifd = Get(tiff, 4, 4), count = Get(tiff, ifd, 2);
  std::vector<std::vector<uint8_t>> entries;
  for (uint32_t i = 0; i < count; ++i) {
    const auto at = tiff.begin() + ifd + 2 + 12 * i;
    entries.emplace_back(at, at + 12);
  }
  std::vector<uint8_t> tag = {0x12, 0x01, 3, 0, 1, 0, 0, 0, uint8_t(orientation), 0, 0, 0};
  const auto later = std::find_if(entries.begin(), entries.end(),
                                  [](const auto& e) { return Get(e, 0, 2) > 0x0112; });
  entries.insert(later, tag);
  const uint32_t at = static_cast<uint32_t>(tiff.size() + tiff.size() % 2);
  tiff.resize(at);
  exiftest::PutInt(tiff, entries.size(), 2, false);
  for (const auto& e : entries) tiff.insert(tiff.end(), e.begin(), e.end());
  exiftest::PutInt(tiff, 0, 4, false);
  for (int i = 0; i < 4; ++i) tiff[4 + size_t(i)] = uint8_t(at >> (8 * i));
  Write(path, tiff);
}

RgbaImage Plain(int width, int height, std::array<uint8_t, 4> bgra) {
  RgbaImage img = RgbaImage::Create(width, height);
  for (size_t i = 0; i < img.bgra.size(); i += 4) std::copy_n(bgra.begin(), 4, &img.bgra[i]);
  return img;
}

PROCESS_INFORMATION Launch(const std::wstring& command, bool suspended) {
  std::wstring line = command;
  STARTUPINFOW si{sizeof(si)};
  si.dwFlags = STARTF_USESTDHANDLES;  // no output of its own in the test's log
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                      suspended ? CREATE_SUSPENDED : 0, nullptr, nullptr, &si, &pi))
    return {};
  return pi;
}

DWORD WaitForExit(PROCESS_INFORMATION& pi) {
  if (!pi.hProcess) return 99;
  DWORD code = 99;
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  pi = {};
  return code;
}

std::string StageImportProgram(const std::string& folder) {
  const std::string exe = folder + "\\CoiffureImport.exe";
  CopyFileW(L"CoiffureImport.exe", Widen(exe).c_str(), FALSE);
  CreateDirectoryW(Widen(folder + "\\ml_data").c_str(), nullptr);
  CopyFileW(L"ml_data\\test.bmp", Widen(folder + "\\ml_data\\test.bmp").c_str(), FALSE);
  return exe;
}

DWORD RunImportProgram(const std::string& exe, const std::wstring& args, const std::string& log,
                       std::string* output) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE out = CreateFileW(Widen(log).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW si{sizeof(si)};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  std::wstring command = L"\"" + Widen(exe) + L"\" " + args;
  PROCESS_INFORMATION pi{};
  DWORD code = 99;
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                     &pi)) {
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
      GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(out);
  *output = ReadBytes(log);
  return code;
}

}  // namespace coiffure::testing
